#include "pseudo_terminal.h"

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <climits>

namespace tools {

Pty::~Pty() {
  if (master >= 0) close(master);
  if (slave >= 0) close(slave);
}

bool OpenPty(Pty& pty) {
  termios raw{};
  cfmakeraw(&raw);
  raw.c_cflag |= CLOCAL | CREAD;
  // openpty() copies the name unbounded; no path is longer than PATH_MAX.
  char name[PATH_MAX] = {};
  if (openpty(&pty.master, &pty.slave, name, &raw, nullptr) != 0) return false;
  fcntl(pty.master, F_SETFL, fcntl(pty.master, F_GETFL) | O_NONBLOCK);
  fcntl(pty.master, F_SETFD, FD_CLOEXEC);
  fcntl(pty.slave, F_SETFD, FD_CLOEXEC);
  pty.path = name;
  return true;
}

}  // namespace tools
