#pragma once
// The lowest layer of the device library: the one device handle, opened and
// configured for the sensor (250000 baud, 8N1, 5 ms time-outs), DTR, whole
// frame writes and single-byte reads. Failures are shown to the user at once
// (messages.h) and returned as false.
//
// The caller's thread opens, closes, sets DTR and writes; the reader thread
// reads and writes link tests. The handle is an atomic; the port layer
// below accepts calls on one handle from both threads.

#include <atomic>
#include <cstdint>

#include "ft_api.h"

namespace sensordrv {

class UsbPort {
 public:
  explicit UsbPort(const FtFunctions& ft = FtFunctions{}) : ft_(ft) {}
  UsbPort(const UsbPort&) = delete;
  UsbPort& operator=(const UsbPort&) = delete;

  // True when the driver answered the listing (a device need not be attached).
  bool ListDevices();
  // Opens device 0 and configures it; every step is tried and shows its own
  // message. The handle stays even when a later step failed.
  bool OpenDevice();
  void CloseDevice();
  bool IsOpen() const { return handle_.load() != nullptr; }
  bool SetDtr(bool on);
  // Writes one encoded frame. True without writing when the transmit queue
  // has no room for it (the reply wait then times out).
  bool WriteFrame(const std::uint8_t* bytes, std::uint32_t count);
  // At most one byte; count 0 after the read time-out.
  bool ReadByte(std::uint8_t& byte, std::uint32_t& count);

 private:
  FtFunctions ft_;
  std::atomic<FT_HANDLE> handle_{nullptr};
};

}  // namespace sensordrv
