#pragma once
// One open device behind the D2XX-compatible calls. Implementations do their
// own locking where the underlying access is not safe from two threads.

#include <memory>
#include <string>
#include <vector>

#include "ft_api.h"

namespace sensordrv {

class FtBackend {
 public:
  virtual ~FtBackend() = default;
  virtual FT_STATUS SetUsbParameters(DWORD inSize, DWORD outSize) = 0;
  virtual FT_STATUS SetBaudRate(DWORD baud) = 0;
  virtual FT_STATUS SetDataCharacteristics(UCHAR bits, UCHAR stopBits, UCHAR parity) = 0;
  virtual FT_STATUS SetTimeouts(DWORD readMs, DWORD writeMs) = 0;
  virtual FT_STATUS SetBitMode(UCHAR mask, UCHAR mode) = 0;
  virtual FT_STATUS Purge(DWORD mask) = 0;
  virtual FT_STATUS SetDtr(bool on) = 0;
  // Asked before every byte read and every frame written: must not cost a
  // device transfer each time.
  virtual FT_STATUS GetStatus(DWORD* rx, DWORD* tx, DWORD* events) = 0;
  virtual FT_STATUS Write(const std::uint8_t* data, DWORD count, DWORD* written) = 0;
  virtual FT_STATUS Read(std::uint8_t* data, DWORD count, DWORD* got) = 0;
};

// The tty backend (termios); nullptr with status set when the path cannot be opened.
std::unique_ptr<FtBackend> OpenTtyDevice(const std::string& path, FT_STATUS& status);
// The libftdi1 backend: the index-th FTDI chip on the USB.
std::unique_ptr<FtBackend> OpenFtdiDevice(int index, FT_STATUS& status);
// Descriptions of the attached FTDI chips; false when USB cannot be asked at all.
bool ListFtdiDevices(std::vector<std::string>& descriptions);

}  // namespace sensordrv
