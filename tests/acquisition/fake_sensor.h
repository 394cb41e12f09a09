#pragma once
// A scripted stand-in for the device library's functions, for tests that
// drive the check and the run without a sensor. One instance is current at
// a time; the C function pointers reach it through FakeSensor::current.

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "acquisition/sensor_api.h"

namespace sfigmo::test {

struct FakeSensor {
  bool listed = true;
  float volts = 9.0f;
  bool answersBattery = true;
  int batteryFailures = 0;           // battery queries that fail before one answers
  bool batteryWithoutVolts = false;  // replies, but with no voltage (a garbled width byte)
  bool portOpen = false;
  int lostFrames = -1;  // what _Get_lost_frames_SENS says; -1: the export is missing
  bool acceptsStart = true;
  bool muted = false;  // no frame ever arrives
  int framesBeforeMute = -1;
  std::set<int> lateReads;  // frame reads (0 = the seed) that time out once
  // Frame k (0 = the seed) -> the 11 values.
  std::function<void(int, std::int32_t*)> frame = [](int, std::int32_t* v) {
    for (int i = 1; i <= 10; i += 2) {
      v[i] = 1000;
      v[i + 1] = 59000;
    }
  };
  int framesServed = 0;
  int reads = 0;
  std::vector<std::string> calls;

  SensorApi api();
  static FakeSensor* current;
};

}  // namespace sfigmo::test
