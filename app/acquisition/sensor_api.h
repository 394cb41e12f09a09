#pragma once
// The device library's functions as the main program calls them. Byte
// results carry only their low 8 bits, so every result is taken as an int
// and tested through IsTrue(); byte arguments are passed as int, which the
// C calling convention narrows in the callee.

#include <cstdint>

namespace sfigmo {

using SearchDevicesFn = int (*)();
using CheckOpenPortFn = int (*)();
using OpenPortFn = int (*)();
using ClosePortFn = void (*)();
using SetDTRPortFn = int (*)(int on);
using SetStatusSensFn = int (*)(int on);
using GetDataSensFn = int (*)(std::int32_t* sample11);
using GetVBatFn = int (*)(float* volts);
using CheckFailedDeviceFn = int (*)();
// Sink for the library's messages: text and caption in UTF-8, isError for
// the "ERROR" caption kind. May be called from the library's reader thread.
using MessageSinkFn = void (*)(const char* textUtf8, const char* captionUtf8, int isError,
                               void* context);
using SetMessageSinkFn = void (*)(MessageSinkFn sink, void* context);

// The nine bound functions, in binding order. A null entry was not found.
struct SensorApi {
  CheckOpenPortFn CheckOpenPort = nullptr;
  OpenPortFn OpenPort = nullptr;
  GetDataSensFn GetDataSens = nullptr;
  ClosePortFn ClosePort = nullptr;
  SetStatusSensFn SetStatusSens = nullptr;
  SetDTRPortFn SetDTRPort = nullptr;
  GetVBatFn GetVBat = nullptr;
  SearchDevicesFn SearchDevices = nullptr;
  CheckFailedDeviceFn CheckFailedDevice = nullptr;

  // Every function the check and the run call is present.
  bool complete() const {
    return OpenPort && GetDataSens && ClosePort && SetStatusSens && SetDTRPort && GetVBat &&
           SearchDevices;
  }
};

// The low byte of a byte result, as the library defines it.
inline bool IsTrue(int byteResult) { return (byteResult & 0xFF) != 0; }

inline constexpr int kSensorSampleSize = 11;

}  // namespace sfigmo
