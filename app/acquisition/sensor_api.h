#pragma once
// The device library's functions as the main program binds them, with the
// library's own pointer types. Byte results carry only their low 8 bits:
// test them with IsTrue().

#include <cstdint>

#include "sensordrv/sensordrv_api.h"

namespace sfigmo {

using SearchDevicesFn = SensordrvSearchDevicesFn;
using CheckOpenPortFn = SensordrvCheckOpenPortFn;
using OpenPortFn = SensordrvOpenPortFn;
using ClosePortFn = SensordrvClosePortFn;
using SetDTRPortFn = SensordrvSetDTRPortFn;
using SetStatusSensFn = SensordrvSetStatusSensFn;
using GetDataSensFn = SensordrvGetDataSensFn;
using GetVBatFn = SensordrvGetVBatFn;
using CheckFailedDeviceFn = SensordrvCheckFailedDeviceFn;
using GetLostFramesFn = SensordrvGetLostFramesFn;
using MessageSinkFn = SensordrvMessageSink;
using SetMessageSinkFn = SensordrvSetMessageSinkFn;

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
  // Not one of the nine: bound when the library has it (lost frames of the
  // stream); without it a run cannot tell lost frames.
  GetLostFramesFn GetLostFrames = nullptr;

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
