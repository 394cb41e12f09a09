#include "fake_sensor.h"

namespace sfigmo::test {

FakeSensor* FakeSensor::current = nullptr;

namespace {

FakeSensor& F() { return *FakeSensor::current; }

unsigned char SearchDevices() {
  F().calls.push_back("search");
  return F().listed ? 1 : 0;
}
unsigned char OpenPort() {
  F().calls.push_back("open");
  F().portOpen = true;
  return 1;
}
void ClosePort() {
  F().calls.push_back("close");
  F().portOpen = false;
}
unsigned char SetDTRPort(unsigned char on) {
  F().calls.push_back(on ? "dtr1" : "dtr0");
  return 1;
}
std::int32_t SetStatusSens(unsigned char on) {
  F().calls.push_back(on ? "start" : "stop");
  return on ? (F().acceptsStart ? 1 : 0) : 1;
}
std::int32_t GetVBat(float* v) {
  F().calls.push_back("vbat");
  if (!F().answersBattery) return 0;
  if (F().batteryFailures > 0) {
    F().batteryFailures -= 1;
    return 0;
  }
  if (F().batteryWithoutVolts) return 1;
  *v = F().volts;
  return 1;
}
std::int32_t GetDataSens(std::int32_t* sample) {
  FakeSensor& f = F();
  if (f.lateReads.count(f.reads++) != 0) return 0;
  if (f.muted || (f.framesBeforeMute >= 0 && f.framesServed >= f.framesBeforeMute)) return 0;
  f.frame(f.framesServed, sample);
  f.framesServed += 1;
  return 1;
}
unsigned char CheckOpenPort() { return F().portOpen ? 1 : 0; }
std::int32_t GetLostFrames() { return F().lostFrames; }
unsigned char CheckFailed() { return 0; }

}  // namespace

SensorApi FakeSensor::api() {
  SensorApi a;
  a.CheckOpenPort = &CheckOpenPort;
  a.OpenPort = &OpenPort;
  a.GetDataSens = &GetDataSens;
  a.ClosePort = &ClosePort;
  a.SetStatusSens = &SetStatusSens;
  a.SetDTRPort = &SetDTRPort;
  a.GetVBat = &GetVBat;
  a.SearchDevices = &SearchDevices;
  a.CheckFailedDevice = &CheckFailed;
  if (lostFrames >= 0) a.GetLostFrames = &GetLostFrames;
  return a;
}

}  // namespace sfigmo::test
