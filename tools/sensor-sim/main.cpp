// sensor-sim: the finger sensor on a pseudo-terminal, for tests, the probe
// and running the program without hardware.

#include <poll.h>
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

#include "pseudo_terminal.h"
#include "sim_device.h"
#include "sim_options.h"
#include "stdin_watch.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace sensorsim;
using tools::Pty;

// Bytes not yet taken by the terminal. Capped: a host that stops reading
// loses frames, as it would on the wire, and the simulator never blocks.
constexpr std::size_t kMaxPending = 64 * 1024;

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
  // --stall-at: nothing is written before this time.
  Clock::time_point holdUntil_{};
};

int Server::PollTimeoutMs(Clock::time_point now) const {
  using std::chrono::milliseconds;
  long long wait = 200;
  if (device_.Streaming())
    wait = std::chrono::duration_cast<milliseconds>(nextFrame_ - now).count();
  if (holdUntil_ > now && !pending_.empty())  // wake when the held bytes may go
    wait = std::min<long long>(
        wait, std::chrono::duration_cast<milliseconds>(holdUntil_ - now).count() + 1);
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
  if (Clock::now() < holdUntil_) return;
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
    if (rec.sequence == device_.StallAt()) {
      holdUntil_ = nextFrame_ + std::chrono::milliseconds(device_.StallMs());
    }
    nextFrame_ += period;
    // After a long stall keep the rate rather than sending a burst.
    if (now - nextFrame_ > std::chrono::seconds(1)) nextFrame_ = now + period;
  }
}

int Server::Run(bool watchStdin) {
  for (;;) {
    pollfd fds[2] = {{pty_.master, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    if (!pending_.empty() && Clock::now() >= holdUntil_) fds[0].events |= POLLOUT;
    const int nfds = watchStdin ? 2 : 1;
    const int ready = poll(fds, nfds, PollTimeoutMs(Clock::now()));
    if (ready < 0 && errno != EINTR) return 1;
    if (watchStdin && tools::StdinClosed(fds[1].revents)) return 0;
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
  if (!tools::OpenPty(pty)) {
    std::perror("sensor-sim: псевдотерминал не открылся");
    return 1;
  }
  std::printf("%s\n", pty.path.c_str());
  std::fflush(stdout);
  SimDevice device(options.config, *signal);
  Server server(pty, device, log);
  const int rc = server.Run(tools::WatchStdin());
  if (log != nullptr) std::fclose(log);
  return rc;
}
