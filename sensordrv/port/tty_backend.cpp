// The tty backend: a sensor behind the kernel's FTDI driver (/dev/ttyUSB*)
// or the simulator's pseudo-terminal.

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <mutex>

#include "ft_backend.h"
#include "tty_termios.h"

namespace sensordrv {
namespace {

using Clock = std::chrono::steady_clock;

class TtyDevice : public FtBackend {
 public:
  explicit TtyDevice(int fd) : fd_(fd) {}
  ~TtyDevice() override { close(fd_); }

  FT_STATUS SetUsbParameters(DWORD, DWORD) override { return FT_OK; }  // no USB transfers here
  FT_STATUS SetBaudRate(DWORD baud) override {
    return TtySetBaud(fd_, baud) == 0 ? FT_OK : FT_INVALID_BAUD_RATE;
  }
  FT_STATUS SetDataCharacteristics(UCHAR bits, UCHAR stopBits, UCHAR parity) override {
    if ((bits != 7 && bits != 8) || (stopBits != 0 && stopBits != 2) || parity > 2)
      return FT_INVALID_PARAMETER;
    return TtySetLine(fd_, bits, stopBits == 2 ? 2 : 1, parity) == 0 ? FT_OK : FT_IO_ERROR;
  }
  FT_STATUS SetTimeouts(DWORD readMs, DWORD writeMs) override {
    readTimeoutMs_ = readMs;
    writeTimeoutMs_ = writeMs;
    return FT_OK;
  }
  // A serial line has no bit-bang modes; resetting to mode 0 always succeeds.
  FT_STATUS SetBitMode(UCHAR, UCHAR mode) override { return mode == 0 ? FT_OK : FT_NOT_SUPPORTED; }
  FT_STATUS Purge(DWORD mask) override;
  FT_STATUS SetDtr(bool on) override;
  FT_STATUS GetStatus(DWORD* rx, DWORD* tx, DWORD* events) override;
  FT_STATUS Write(const std::uint8_t* data, DWORD count, DWORD* written) override;
  FT_STATUS Read(std::uint8_t* data, DWORD count, DWORD* got) override;

 private:
  // Waits for the descriptor; -1 on hang-up or error (the device is gone).
  int WaitFor(short events, std::chrono::milliseconds timeout);
  FT_STATUS FillBuffer(Clock::time_point deadline);

  const int fd_;
  std::atomic<DWORD> readTimeoutMs_{0};  // 0: wait for ever, as the vendor's driver does
  std::atomic<DWORD> writeTimeoutMs_{0};
  // Bytes read from the tty ahead of the caller: one system call serves many
  // one-byte FT_Read calls.
  std::mutex readMutex_;
  std::uint8_t buffer_[4096];
  std::size_t head_ = 0, tail_ = 0;
  std::atomic<std::size_t> buffered_{0};  // tail_ - head_, for FT_GetStatus without the lock
};

int TtyDevice::WaitFor(short events, std::chrono::milliseconds timeout) {
  pollfd p{fd_, events, 0};
  const int n = poll(&p, 1, static_cast<int>(timeout.count()));
  if (n < 0) return errno == EINTR ? 0 : -1;
  if (n == 0) return 0;
  if (p.revents & (POLLERR | POLLNVAL)) return -1;
  if ((p.revents & POLLHUP) && !(p.revents & POLLIN)) return -1;
  return 1;
}

FT_STATUS TtyDevice::FillBuffer(Clock::time_point deadline) {
  const bool forever = readTimeoutMs_ == 0;
  for (;;) {
    // Rounded up: a remainder below 1 ms must not turn into a busy poll(0).
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    const int ready = WaitFor(POLLIN, forever ? std::chrono::milliseconds(-1) : std::max(left, {}));
    if (ready < 0) return FT_IO_ERROR;
    if (ready > 0) {
      const ssize_t n = read(fd_, buffer_, sizeof buffer_);
      if (n > 0) {
        head_ = 0;
        tail_ = static_cast<std::size_t>(n);
        return FT_OK;
      }
      if (n == 0 || (errno != EAGAIN && errno != EINTR)) return FT_IO_ERROR;
    }
    if (!forever && Clock::now() >= deadline) return FT_OK;
  }
}

FT_STATUS TtyDevice::Read(std::uint8_t* data, DWORD count, DWORD* got) {
  std::lock_guard lock(readMutex_);
  const auto deadline = Clock::now() + std::chrono::milliseconds(readTimeoutMs_.load());
  DWORD n = 0;
  while (n < count) {
    if (head_ == tail_) {
      const FT_STATUS s = FillBuffer(deadline);
      if (s != FT_OK) {
        *got = n;
        return s;
      }
      if (head_ == tail_) break;  // timed out
    }
    while (n < count && head_ < tail_) data[n++] = buffer_[head_++];
  }
  buffered_ = tail_ - head_;
  *got = n;
  return FT_OK;
}

FT_STATUS TtyDevice::Write(const std::uint8_t* data, DWORD count, DWORD* written) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(writeTimeoutMs_.load());
  DWORD n = 0;
  while (n < count) {
    const ssize_t w = write(fd_, data + n, count - n);
    if (w > 0) {
      n += static_cast<DWORD>(w);
      continue;
    }
    if (w < 0 && errno != EAGAIN && errno != EINTR) break;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    if (writeTimeoutMs_ != 0 && Clock::now() >= deadline) break;
    if (WaitFor(POLLOUT, writeTimeoutMs_ == 0 ? std::chrono::milliseconds(-1) : left) < 0) break;
  }
  *written = n;
  return n == count ? FT_OK : FT_IO_ERROR;
}

FT_STATUS TtyDevice::Purge(DWORD mask) {
  std::lock_guard lock(readMutex_);
  if (mask & FT_PURGE_RX) {
    head_ = tail_ = 0;
    buffered_ = 0;
  }
  return TtyFlush(fd_, mask & FT_PURGE_RX, mask & FT_PURGE_TX) == 0 ? FT_OK : FT_IO_ERROR;
}

FT_STATUS TtyDevice::SetDtr(bool on) {
  int bits = TIOCM_DTR;
  if (ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &bits) == 0) return FT_OK;
  // A pseudo-terminal has no modem lines: there is nothing to raise.
  return (errno == ENOTTY || errno == EINVAL) ? FT_OK : FT_IO_ERROR;
}

FT_STATUS TtyDevice::GetStatus(DWORD* rx, DWORD* tx, DWORD* events) {
  int inQueue = 0, outQueue = 0;
  if (ioctl(fd_, TIOCINQ, &inQueue) != 0 || ioctl(fd_, TIOCOUTQ, &outQueue) != 0)
    return FT_IO_ERROR;
  // A hung-up line (unplugged sensor, simulator gone) counts as a lost device.
  if (WaitFor(0, std::chrono::milliseconds(0)) < 0) return FT_IO_ERROR;
  *rx = static_cast<DWORD>(inQueue + buffered_.load());
  *tx = static_cast<DWORD>(outQueue);
  *events = 0;
  return FT_OK;
}

}  // namespace

std::unique_ptr<FtBackend> OpenTtyDevice(const std::string& path, FT_STATUS& status) {
  const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    status = FT_DEVICE_NOT_FOUND;
    return nullptr;
  }
  if (!isatty(fd) || TtyMakeRaw(fd) != 0) {
    close(fd);
    status = FT_DEVICE_NOT_OPENED;
    return nullptr;
  }
  status = FT_OK;
  return std::make_unique<TtyDevice>(fd);
}

}  // namespace sensordrv
