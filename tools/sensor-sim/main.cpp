// sensor-sim: the finger sensor on a pseudo-terminal, for tests, the probe
// and running the program without hardware.

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <deque>
#include <memory>
#include <stdexcept>
#include <vector>

#include "sim_device.h"
#include "sim_options.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace sensorsim;

// Bytes not yet taken by the terminal. Capped: a host that stops reading
// loses frames, as it would on the wire, and the simulator never blocks.
constexpr std::size_t kMaxPending = 64 * 1024;

struct Pty {
  int master = -1;
  int slave = -1;  // kept open so the master never sees a hang-up between hosts
  char path[128] = {};
};

bool OpenPty(Pty& pty) {
  termios raw{};
  cfmakeraw(&raw);
  raw.c_cflag |= CLOCAL | CREAD;
  if (openpty(&pty.master, &pty.slave, pty.path, &raw, nullptr) != 0) return false;
  fcntl(pty.master, F_SETFL, fcntl(pty.master, F_GETFL) | O_NONBLOCK);
  fcntl(pty.master, F_SETFD, FD_CLOEXEC);
  fcntl(pty.slave, F_SETFD, FD_CLOEXEC);
  return true;
}

// Stdin ends the simulator when it is a pipe or a terminal that closes; a
// /dev/null stdin (a background job) is not watched.
bool WatchStdin() {
  struct stat st {};
  if (fstat(STDIN_FILENO, &st) != 0) return false;
  return S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode) || isatty(STDIN_FILENO);
}

void LogFrame(FILE* log, const FrameRecord& rec, bool dropped) {
  if (log == nullptr) return;
  std::fprintf(log, "%s%ld", dropped ? "dropped " : "", rec.sequence);
  for (std::int32_t v : rec.values) std::fprintf(log, " %d", v);
  std::fputc('\n', log);
  std::fflush(log);
}

class Server {
 public:
  Server(Pty& pty, SimDevice& device, FILE* log) : pty_(pty), device_(device), log_(log) {}
  int Run(bool watchStdin);

 private:
  bool ReadHost();
  void Flush();
  void SendDueFrames(Clock::time_point now);
  int PollTimeoutMs(Clock::time_point now) const;

  Pty& pty_;
  SimDevice& device_;
  FILE* log_;
  std::vector<std::uint8_t> pending_;
  bool wasStreaming_ = false;
  Clock::time_point nextFrame_{};
};

int Server::PollTimeoutMs(Clock::time_point now) const {
  if (!device_.Streaming()) return 200;
  const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(nextFrame_ - now).count();
  return static_cast<int>(std::clamp<long long>(wait, 0, 200));
}

bool Server::ReadHost() {
  std::uint8_t buf[4096];
  const ssize_t n = read(pty_.master, buf, sizeof buf);
  if (n <= 0) return n == 0 || errno == EAGAIN || errno == EINTR || errno == EIO;
  device_.Receive(buf, static_cast<std::size_t>(n), pending_);
  return true;
}

void Server::Flush() {
  while (!pending_.empty()) {
    const ssize_t n = write(pty_.master, pending_.data(), pending_.size());
    if (n <= 0) return;
    pending_.erase(pending_.begin(), pending_.begin() + n);
  }
}

void Server::SendDueFrames(Clock::time_point now) {
  if (!device_.Streaming()) {
    wasStreaming_ = false;
    return;
  }
  const auto period = std::chrono::duration_cast<Clock::duration>(
      std::chrono::duration<double>(device_.FramePeriod()));
  if (!wasStreaming_) {  // the first frame follows the acknowledgement one period later
    wasStreaming_ = true;
    nextFrame_ = now + period;
    return;
  }
  while (device_.Streaming() && now >= nextFrame_) {
    std::vector<std::uint8_t> frame;
    const FrameRecord rec = device_.NextFrame(frame);
    const bool dropped = rec.lost || pending_.size() + frame.size() > kMaxPending;
    if (pending_.size() + frame.size() <= kMaxPending)
      pending_.insert(pending_.end(), frame.begin(), frame.end());
    LogFrame(log_, rec, dropped);
    nextFrame_ += period;
    // After a long stall keep the rate rather than sending a burst.
    if (now - nextFrame_ > std::chrono::seconds(1)) nextFrame_ = now + period;
  }
}

int Server::Run(bool watchStdin) {
  for (;;) {
    pollfd fds[2] = {{pty_.master, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    if (!pending_.empty()) fds[0].events |= POLLOUT;
    const int nfds = watchStdin ? 2 : 1;
    const int ready = poll(fds, nfds, PollTimeoutMs(Clock::now()));
    if (ready < 0 && errno != EINTR) return 1;
    if (watchStdin && (fds[1].revents & (POLLIN | POLLHUP | POLLERR))) {
      char sink[256];
      const ssize_t n = read(STDIN_FILENO, sink, sizeof sink);
      if (n <= 0) return 0;
    }
    if (fds[0].revents & POLLIN) {
      if (!ReadHost()) return 1;
    }
    SendDueFrames(Clock::now());
    Flush();
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::signal(SIGPIPE, SIG_IGN);
  const ParsedOptions options = ParseOptions(argc, argv);
  if (options.help) {
    std::fputs(UsageText(), stdout);
    return 0;
  }
  if (!options.error.empty()) {
    std::fprintf(stderr, "sensor-sim: %s\n", options.error.c_str());
    return 2;
  }
  std::unique_ptr<SignalSource> signal;
  try {
    signal = MakeSignalSource(options.config);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "sensor-sim: %s\n", e.what());
    return 2;
  }
  FILE* log = nullptr;
  if (!options.config.logFile.empty()) {
    log = std::fopen(options.config.logFile.c_str(), "w");
    if (log == nullptr) {
      std::fprintf(stderr, "sensor-sim: не удалось создать журнал %s\n",
                   options.config.logFile.c_str());
      return 2;
    }
  }
  Pty pty;
  if (!OpenPty(pty)) {
    std::perror("sensor-sim: псевдотерминал не открылся");
    return 1;
  }
  std::printf("%s\n", pty.path);
  std::fflush(stdout);
  SimDevice device(options.config, *signal);
  Server server(pty, device, log);
  const int rc = server.Run(WatchStdin());
  if (log != nullptr) std::fclose(log);
  return rc;
}
