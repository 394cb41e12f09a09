// The eleven exports and the message sink, over the library's one device
// object. Byte results are unsigned char; int results 32-bit 0 or 1.

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "messages.h"
#include "sensor_link.h"
#include "sensordrv_api.h"

namespace {

using namespace sensordrv;

struct Device {
  UsbPort port;
  SensorLink link{port};
};

// Built at the first call after loading; the reader thread is stopped and
// joined when the library is unloaded or the process ends.
Device& TheDevice() {
  static Device device;
  return device;
}

SensorLink& Link() { return TheDevice().link; }

}  // namespace

extern "C" {

unsigned char _SearchDevices(void) { return Link().Port().ListDevices() ? 1 : 0; }

unsigned char _CheckOpenPort(void) { return Link().Port().IsOpen() ? 1 : 0; }

unsigned char _OpenPort(void) {
  SensorLink& link = Link();
  if (link.Port().OpenDevice()) {
    link.SetPortReady();
    return 1;
  }
  link.Port().CloseDevice();
  return 0;
}

void _ClosePort(void) { Link().Port().CloseDevice(); }

unsigned char _SetDTRPort(unsigned char on) {
  SensorLink& link = Link();
  const bool dtr = link.Port().SetDtr(on != 0);
  if (on == 0) {
    // Stopped even when the port is already gone (a failed write closed it
    // after an unplug): otherwise the reader would outlive every cycle.
    link.SetReadingEnabled(false);
    link.StopReader();
    return dtr ? 1 : 0;
  }
  if (!dtr) return 0;
  link.SetReadingEnabled(true);
  link.StartReader();  // a failed start has shown its message; DTR is up all the same
  return 1;
}

int32_t _Get_version_Device(uint8_t* version) {
  SensorLink& link = Link();
  if (!link.CommandIdle() || version == nullptr) return 0;
  const auto reply = link.Exchange(kCmdVersion);
  if (!reply) return 0;
  std::memcpy(version, reply->data.data(), kVersionBytes);
  return 1;
}

int32_t _Set_status_SENS(unsigned char on) {
  SensorLink& link = Link();
  if (!link.CommandIdle()) return 0;
  return link.Exchange(on != 0 ? kCmdStart : kCmdStop) ? 1 : 0;
}

unsigned char _Check_status_cmd(void) { return Link().CommandIdle() ? 1 : 0; }

int32_t _Get_data_SENS(int32_t* sample) {
  SensorLink& link = Link();
  if (!link.CommandIdle() || sample == nullptr) return 0;
  const auto reply = link.WaitData();
  if (!reply) return 0;
  DecodeSample(reply->Data(), sample);
  return 1;
}

int32_t _Get_V_bat(float* volts) {
  SensorLink& link = Link();
  if (!link.CommandIdle()) return 0;
  const auto reply = link.Exchange(kCmdBattery);
  if (!reply) return 0;
  if (const auto v = BatteryVoltage(reply->Data()); v && volts != nullptr) *volts = *v;
  return 1;
}

unsigned char _Check_failed_Device(void) { return Link().DeviceFailed() ? 1 : 0; }

int32_t _Get_lost_frames_SENS(void) {
  const std::uint32_t lost = Link().LostFrames();
  return static_cast<int32_t>(std::min<std::uint32_t>(lost, INT32_MAX));
}

void _SetMessageSink(SensordrvMessageSink sink, void* context) { SetMessageSink(sink, context); }

}  // extern "C"
