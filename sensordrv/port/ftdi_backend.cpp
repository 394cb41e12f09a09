// The libftdi1 backend: a real FTDI chip over USB, without the kernel's
// serial driver. libftdi's context is not safe from two threads, so every
// call holds the device's mutex; reads end after the 5 ms USB time-out. A
// read moves a whole bulk transfer into libftdi's buffer, so byte-by-byte
// reading costs a USB transfer only when that buffer is empty.

#include <libftdi1/ftdi.h>

#include <chrono>
#include <mutex>

#include "ft_backend.h"

namespace sensordrv {
namespace {

struct ContextDeleter {
  void operator()(ftdi_context* c) const { ftdi_free(c); }
};
using Context = std::unique_ptr<ftdi_context, ContextDeleter>;

struct ListDeleter {
  void operator()(ftdi_device_list* l) const { ftdi_list_free(&l); }
};
using DeviceList = std::unique_ptr<ftdi_device_list, ListDeleter>;

FT_STATUS Status(int rc) { return rc >= 0 ? FT_OK : FT_IO_ERROR; }

class FtdiDevice : public FtBackend {
 public:
  using Clock = std::chrono::steady_clock;
  // An unplugged chip is noticed within this time.
  static constexpr auto kPresencePoll = std::chrono::milliseconds(100);

  explicit FtdiDevice(Context ctx) : ctx_(std::move(ctx)) {}
  ~FtdiDevice() override { ftdi_usb_close(ctx_.get()); }

  FT_STATUS SetUsbParameters(DWORD inSize, DWORD outSize) override {
    std::lock_guard lock(mutex_);
    if (ftdi_read_data_set_chunksize(ctx_.get(), inSize) < 0) return FT_IO_ERROR;
    return Status(ftdi_write_data_set_chunksize(ctx_.get(), outSize));
  }
  FT_STATUS SetBaudRate(DWORD baud) override {
    std::lock_guard lock(mutex_);
    return ftdi_set_baudrate(ctx_.get(), static_cast<int>(baud)) < 0 ? FT_INVALID_BAUD_RATE : FT_OK;
  }
  FT_STATUS SetDataCharacteristics(UCHAR bits, UCHAR stopBits, UCHAR parity) override {
    if ((bits != 7 && bits != 8) || (stopBits != 0 && stopBits != 2) || parity > 2)
      return FT_INVALID_PARAMETER;
    std::lock_guard lock(mutex_);
    const auto b = bits == 7 ? BITS_7 : BITS_8;
    const auto s = stopBits == 2 ? STOP_BIT_2 : STOP_BIT_1;
    const auto p = parity == 1 ? ODD : (parity == 2 ? EVEN : NONE);
    return Status(ftdi_set_line_property(ctx_.get(), b, s, p));
  }
  FT_STATUS SetTimeouts(DWORD readMs, DWORD writeMs) override {
    std::lock_guard lock(mutex_);
    ctx_->usb_read_timeout = static_cast<int>(readMs);
    ctx_->usb_write_timeout = static_cast<int>(writeMs);
    return FT_OK;
  }
  FT_STATUS SetBitMode(UCHAR mask, UCHAR mode) override {
    std::lock_guard lock(mutex_);
    return Status(ftdi_set_bitmode(ctx_.get(), mask, mode));
  }
  FT_STATUS Purge(DWORD mask) override {
    std::lock_guard lock(mutex_);
    if ((mask & FT_PURGE_RX) && ftdi_tciflush(ctx_.get()) < 0) return FT_IO_ERROR;
    if ((mask & FT_PURGE_TX) && ftdi_tcoflush(ctx_.get()) < 0) return FT_IO_ERROR;
    return FT_OK;
  }
  FT_STATUS SetDtr(bool on) override {
    std::lock_guard lock(mutex_);
    return Status(ftdi_setdtr(ctx_.get(), on ? 1 : 0));
  }
  // Asked before every byte read, so it must not cost a USB transfer: the
  // receive count is what libftdi already holds in its read buffer (bytes the
  // chip sent but not yet taken), and a modem-status control transfer proves
  // the chip is still attached at most every kPresencePoll.
  FT_STATUS GetStatus(DWORD* rx, DWORD* tx, DWORD* events) override {
    std::lock_guard lock(mutex_);
    const auto now = Clock::now();
    if (!polled_ || now - lastPoll_ >= kPresencePoll) {
      unsigned short modem = 0;
      if (ftdi_poll_modem_status(ctx_.get(), &modem) < 0) return FT_IO_ERROR;
      polled_ = true;
      lastPoll_ = now;
    }
    *rx = ctx_->readbuffer_remaining;
    *tx = 0;
    *events = 0;
    return FT_OK;
  }
  FT_STATUS Write(const std::uint8_t* data, DWORD count, DWORD* written) override {
    std::lock_guard lock(mutex_);
    const int n = ftdi_write_data(ctx_.get(), data, static_cast<int>(count));
    if (n < 0) return FT_IO_ERROR;
    *written = static_cast<DWORD>(n);
    return FT_OK;
  }
  FT_STATUS Read(std::uint8_t* data, DWORD count, DWORD* got) override {
    std::lock_guard lock(mutex_);
    const int n = ftdi_read_data(ctx_.get(), data, static_cast<int>(count));
    if (n < 0) return FT_IO_ERROR;
    *got = static_cast<DWORD>(n);
    return FT_OK;
  }

 private:
  std::mutex mutex_;
  Context ctx_;
  bool polled_ = false;  // a modem-status poll has succeeded since opening
  Clock::time_point lastPoll_;
};

// All FTDI chips on the bus (vendor 0403, the chips libftdi knows).
bool FindAll(ftdi_context* ctx, DeviceList& list, int& count) {
  ftdi_device_list* raw = nullptr;
  count = ftdi_usb_find_all(ctx, &raw, 0, 0);
  list.reset(raw);
  return count >= 0;
}

}  // namespace

bool ListFtdiDevices(std::vector<std::string>& descriptions) {
  Context ctx(ftdi_new());
  if (!ctx) return false;
  DeviceList list;
  int count = 0;
  if (!FindAll(ctx.get(), list, count)) return false;
  for (ftdi_device_list* d = list.get(); d != nullptr; d = d->next) {
    char description[64] = {};
    if (ftdi_usb_get_strings(ctx.get(), d->dev, nullptr, 0, description, sizeof description,
                             nullptr, 0) < 0) {
      description[0] = '\0';
    }
    descriptions.emplace_back(description);
  }
  return true;
}

std::unique_ptr<FtBackend> OpenFtdiDevice(int index, FT_STATUS& status) {
  status = FT_DEVICE_NOT_FOUND;
  Context ctx(ftdi_new());
  if (!ctx || index < 0) return nullptr;
  DeviceList list;
  int count = 0;
  if (!FindAll(ctx.get(), list, count) || index >= count) return nullptr;
  ftdi_device_list* d = list.get();
  for (int i = 0; i < index; ++i) d = d->next;
  if (ftdi_usb_open_dev(ctx.get(), d->dev) < 0) {
    status = FT_DEVICE_NOT_OPENED;
    return nullptr;
  }
  status = FT_OK;
  return std::make_unique<FtdiDevice>(std::move(ctx));
}

}  // namespace sensordrv
