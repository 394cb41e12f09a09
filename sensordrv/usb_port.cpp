#include "usb_port.h"

#include "messages.h"

namespace sensordrv {

namespace {
constexpr DWORD kTransferSize = 16384;
constexpr USHORT kDivisor250k = 12;  // 3 MHz / 12 = 250000 baud
constexpr DWORD kTimeoutMs = 5;
constexpr DWORD kTxQueueDepth = 4096;
constexpr const char* kPurgeFailed = "Ошибка при очистке буферов I/O";
}  // namespace

bool UsbPort::ListDevices() {
  char descriptions[4][64] = {};
  char* buffers[5] = {descriptions[0], descriptions[1], descriptions[2], descriptions[3], nullptr};
  DWORD count = 0;
  return ft_.ListDevices(buffers, &count, FT_LIST_ALL | FT_OPEN_BY_DESCRIPTION) == FT_OK;
}

bool UsbPort::OpenDevice() {
  if (FT_HANDLE old = handle_.exchange(nullptr)) ft_.Close(old);
  bool ok = true;
  auto step = [&ok](FT_STATUS status, const char* message) {
    if (status == FT_OK) return;
    if (message != nullptr) ShowMessage(message, kCaptionError, true);
    ok = false;
  };
  FT_HANDLE h = nullptr;
  step(ft_.Open(0, &h), "Ошибка при открытии порта");
  handle_ = h;
  step(ft_.SetUSBParameters(h, kTransferSize, kTransferSize), nullptr);
  step(ft_.SetDivisor(h, kDivisor250k), "Ошибка при установке скорости порта");
  step(ft_.SetDataCharacteristics(h, FT_BITS_8, FT_STOP_BITS_1, FT_PARITY_NONE),
       "Ошибка при установке параметров(Бит,СтопБит,Паритет)");
  step(ft_.SetTimeouts(h, kTimeoutMs, kTimeoutMs), "Ошибка при установке таймаутов");
  step(ft_.SetBitMode(h, 0xFF, 0), "Ошибка при выключении Bit Mode");
  if (ft_.Purge(h, FT_PURGE_RX | FT_PURGE_TX) != FT_OK) {
    ShowMessage(kPurgeFailed, kCaptionError, true);
    return false;
  }
  return ok;
}

void UsbPort::CloseDevice() {
  FT_HANDLE h = handle_.load();
  if (h == nullptr) return;
  if (ft_.SetBitMode(h, 0xFF, 0) == FT_OK && ft_.Purge(h, FT_PURGE_RX | FT_PURGE_TX) != FT_OK) {
    ShowMessage(kPurgeFailed, kCaptionError, true);
  }
  // The reader thread may close at the same moment after a failed write:
  // only the one that takes the handle closes it.
  if (handle_.compare_exchange_strong(h, nullptr)) ft_.Close(h);
}

bool UsbPort::SetDtr(bool on) {
  FT_HANDLE h = handle_.load();
  if (h == nullptr) return false;
  return (on ? ft_.SetDtr(h) : ft_.ClrDtr(h)) == FT_OK;
}

bool UsbPort::WriteFrame(const std::uint8_t* bytes, std::uint32_t count) {
  FT_HANDLE h = handle_.load();
  DWORD rx = 0, tx = 0, events = 0;
  if (ft_.GetStatus(h, &rx, &tx, &events) != FT_OK) {
    ShowMessage("Ошибка записи в порт!", kCaptionPlain, false);
    return false;
  }
  // A frame queued behind a full transmit queue would arrive too late to
  // matter: it is dropped and the reply wait times out. Counted without
  // wrap-around, so an over-full queue drops too.
  if (static_cast<std::uint64_t>(tx) + count > kTxQueueDepth) return true;
  DWORD written = 0;
  return ft_.Write(h, const_cast<std::uint8_t*>(bytes), count, &written) == FT_OK;
}

bool UsbPort::ReadByte(std::uint8_t& byte, std::uint32_t& count) {
  byte = 0;
  count = 0;
  FT_HANDLE h = handle_.load();
  DWORD rx = 0, tx = 0, events = 0;
  if (ft_.GetStatus(h, &rx, &tx, &events) != FT_OK) return false;
  std::uint8_t b = 0;
  DWORD n = 0;
  ft_.Read(h, &b, 1, &n);  // a failed read reads as nothing
  if (n != 0) {
    byte = b;
    count = n;
  }
  return true;
}

}  // namespace sensordrv
