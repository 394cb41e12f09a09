// Handle table of the D2XX-compatible layer. A handle is a number, never a
// pointer: a call on a handle that another thread just closed finds nothing
// and fails, and a call already running keeps its device alive until it
// returns (the reader thread may sit in FT_Read while the caller closes).

#include "ft_api.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

#include "ft_backend.h"

namespace sensordrv {
namespace {

class HandleTable {
 public:
  FT_HANDLE Add(std::shared_ptr<FtBackend> device) {
    std::lock_guard lock(mutex_);
    const std::uintptr_t id = nextId_++;
    devices_.emplace(id, std::move(device));
    return reinterpret_cast<FT_HANDLE>(id);
  }
  std::shared_ptr<FtBackend> Find(FT_HANDLE handle) {
    std::lock_guard lock(mutex_);
    auto it = devices_.find(reinterpret_cast<std::uintptr_t>(handle));
    return it == devices_.end() ? nullptr : it->second;
  }
  bool Remove(FT_HANDLE handle) {
    std::shared_ptr<FtBackend> last;  // released outside the lock
    std::lock_guard lock(mutex_);
    auto it = devices_.find(reinterpret_cast<std::uintptr_t>(handle));
    if (it == devices_.end()) return false;
    last = std::move(it->second);
    devices_.erase(it);
    return true;
  }

 private:
  std::mutex mutex_;
  std::map<std::uintptr_t, std::shared_ptr<FtBackend>> devices_;
  std::uintptr_t nextId_ = 1;  // never reused, so a stale handle stays invalid
};

// The driver's handle table lives as long as the process, like the vendor
// driver's, and is never destroyed: a reader thread still running while the
// process exits must not find it gone.
HandleTable& Handles() {
  static HandleTable* table = new HandleTable;
  return *table;
}

const char* PortOverride() {
  const char* path = std::getenv("SENSORDRV_PORT");
  return (path != nullptr && *path != '\0') ? path : nullptr;
}

// Writes every byte read from the device to a file (SENSORDRV_CAPTURE), so
// a field problem with a real sensor becomes a byte-stream test fixture.
class CapturingDevice : public FtBackend {
 public:
  CapturingDevice(std::unique_ptr<FtBackend> inner, FILE* file)
      : inner_(std::move(inner)), file_(file) {}
  ~CapturingDevice() override { std::fclose(file_); }
  FT_STATUS SetUsbParameters(DWORD in, DWORD out) override {
    return inner_->SetUsbParameters(in, out);
  }
  FT_STATUS SetBaudRate(DWORD baud) override { return inner_->SetBaudRate(baud); }
  FT_STATUS SetDataCharacteristics(UCHAR bits, UCHAR stop, UCHAR parity) override {
    return inner_->SetDataCharacteristics(bits, stop, parity);
  }
  FT_STATUS SetTimeouts(DWORD r, DWORD w) override { return inner_->SetTimeouts(r, w); }
  FT_STATUS SetBitMode(UCHAR mask, UCHAR mode) override { return inner_->SetBitMode(mask, mode); }
  FT_STATUS Purge(DWORD mask) override { return inner_->Purge(mask); }
  FT_STATUS SetDtr(bool on) override { return inner_->SetDtr(on); }
  FT_STATUS GetStatus(DWORD* rx, DWORD* tx, DWORD* ev) override {
    return inner_->GetStatus(rx, tx, ev);
  }
  FT_STATUS Write(const std::uint8_t* data, DWORD count, DWORD* written) override {
    return inner_->Write(data, count, written);
  }
  FT_STATUS Read(std::uint8_t* data, DWORD count, DWORD* got) override {
    const FT_STATUS s = inner_->Read(data, count, got);
    if (*got > 0) {
      std::lock_guard lock(mutex_);
      std::fwrite(data, 1, *got, file_);
      std::fflush(file_);
    }
    return s;
  }

 private:
  std::unique_ptr<FtBackend> inner_;
  std::mutex mutex_;
  FILE* file_;
};

std::unique_ptr<FtBackend> WithCapture(std::unique_ptr<FtBackend> device) {
  const char* path = std::getenv("SENSORDRV_CAPTURE");
  if (path == nullptr || *path == '\0') return device;
  FILE* file = std::fopen(path, "ab");
  if (file == nullptr) return device;  // no capture rather than no sensor
  return std::make_unique<CapturingDevice>(std::move(device), file);
}

template <typename F>
FT_STATUS WithDevice(FT_HANDLE handle, F&& f) {
  const auto device = Handles().Find(handle);
  if (!device) return FT_INVALID_HANDLE;
  return f(*device);
}

void FillDescriptions(char** buffers, const std::vector<std::string>& names) {
  for (std::size_t i = 0; buffers[i] != nullptr && i < names.size(); ++i) {
    std::strncpy(buffers[i], names[i].c_str(), 63);
    buffers[i][63] = '\0';
  }
}

}  // namespace
}  // namespace sensordrv

using namespace sensordrv;

FT_STATUS FT_ListDevices(void* pArg1, void* pArg2, DWORD Flags) {
  std::vector<std::string> names;
  if (const char* path = PortOverride()) {
    names.emplace_back(path);
  } else if (!ListFtdiDevices(names)) {
    return FT_OTHER_ERROR;
  }
  if (Flags & FT_LIST_NUMBER_ONLY) {
    if (pArg1 == nullptr) return FT_INVALID_PARAMETER;
    *static_cast<DWORD*>(pArg1) = static_cast<DWORD>(names.size());
    return FT_OK;
  }
  if ((Flags & FT_LIST_ALL) && pArg1 != nullptr) {
    FillDescriptions(static_cast<char**>(pArg1), names);
    if (pArg2 != nullptr) *static_cast<DWORD*>(pArg2) = static_cast<DWORD>(names.size());
    return FT_OK;
  }
  return FT_INVALID_PARAMETER;
}

FT_STATUS FT_Open(int deviceNumber, FT_HANDLE* pHandle) {
  if (pHandle == nullptr) return FT_INVALID_PARAMETER;
  *pHandle = nullptr;
  FT_STATUS status = FT_DEVICE_NOT_FOUND;
  std::unique_ptr<FtBackend> device;
  if (const char* path = PortOverride()) {
    if (deviceNumber == 0) device = OpenTtyDevice(path, status);
  } else {
    device = OpenFtdiDevice(deviceNumber, status);
  }
  if (!device) return status;
  *pHandle = Handles().Add(WithCapture(std::move(device)));
  return FT_OK;
}

FT_STATUS FT_Close(FT_HANDLE ftHandle) {
  return Handles().Remove(ftHandle) ? FT_OK : FT_INVALID_HANDLE;
}

FT_STATUS FT_Read(FT_HANDLE h, void* buffer, DWORD count, LPDWORD got) {
  if (got) *got = 0;
  if (buffer == nullptr || got == nullptr) return FT_INVALID_PARAMETER;
  return WithDevice(
      h, [&](FtBackend& d) { return d.Read(static_cast<std::uint8_t*>(buffer), count, got); });
}

FT_STATUS FT_Write(FT_HANDLE h, void* buffer, DWORD count, LPDWORD written) {
  if (written) *written = 0;
  if (buffer == nullptr || written == nullptr) return FT_INVALID_PARAMETER;
  return WithDevice(h, [&](FtBackend& d) {
    return d.Write(static_cast<const std::uint8_t*>(buffer), count, written);
  });
}

FT_STATUS FT_SetDataCharacteristics(FT_HANDLE h, UCHAR bits, UCHAR stopBits, UCHAR parity) {
  return WithDevice(h,
                    [&](FtBackend& d) { return d.SetDataCharacteristics(bits, stopBits, parity); });
}

FT_STATUS FT_SetDtr(FT_HANDLE h) {
  return WithDevice(h, [](FtBackend& d) { return d.SetDtr(true); });
}

FT_STATUS FT_ClrDtr(FT_HANDLE h) {
  return WithDevice(h, [](FtBackend& d) { return d.SetDtr(false); });
}

FT_STATUS FT_Purge(FT_HANDLE h, DWORD mask) {
  return WithDevice(h, [&](FtBackend& d) { return d.Purge(mask); });
}

FT_STATUS FT_SetTimeouts(FT_HANDLE h, DWORD readMs, DWORD writeMs) {
  return WithDevice(h, [&](FtBackend& d) { return d.SetTimeouts(readMs, writeMs); });
}

FT_STATUS FT_GetStatus(FT_HANDLE h, DWORD* rx, DWORD* tx, DWORD* events) {
  if (rx == nullptr || tx == nullptr || events == nullptr) return FT_INVALID_PARAMETER;
  return WithDevice(h, [&](FtBackend& d) { return d.GetStatus(rx, tx, events); });
}

FT_STATUS FT_SetDivisor(FT_HANDLE h, USHORT divisor) {
  if (divisor == 0) return FT_INVALID_BAUD_RATE;
  return WithDevice(h, [&](FtBackend& d) { return d.SetBaudRate(FT_BAUD_CLOCK / divisor); });
}

FT_STATUS FT_SetBitMode(FT_HANDLE h, UCHAR mask, UCHAR mode) {
  return WithDevice(h, [&](FtBackend& d) { return d.SetBitMode(mask, mode); });
}

FT_STATUS FT_SetUSBParameters(FT_HANDLE h, DWORD inSize, DWORD outSize) {
  return WithDevice(h, [&](FtBackend& d) { return d.SetUsbParameters(inSize, outSize); });
}
