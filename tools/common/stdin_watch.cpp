#include "stdin_watch.h"

#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tools {

bool WatchStdin() {
  struct stat st {};
  if (fstat(STDIN_FILENO, &st) != 0) return false;
  return S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode) || isatty(STDIN_FILENO);
}

bool StdinClosed(short revents) {
  if (!(revents & (POLLIN | POLLHUP | POLLERR))) return false;
  char sink[256];
  return read(STDIN_FILENO, sink, sizeof sink) <= 0;
}

}  // namespace tools
