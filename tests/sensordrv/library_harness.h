#pragma once
// Loads libsensordrv.so by file name and binds its exports by name, as the
// main program does; runs sensor-sim beside it; reads the simulator's log.

#include <dirent.h>
#include <dlfcn.h>

#include <array>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "sensordrv_api.h"
#include "sim_process.h"

using sfigmo::test::SimProcess;

struct SensorLibrary {
  void* handle = nullptr;
  SensordrvSearchDevicesFn SearchDevices = nullptr;
  SensordrvCheckOpenPortFn CheckOpenPort = nullptr;
  SensordrvOpenPortFn OpenPort = nullptr;
  SensordrvClosePortFn ClosePort = nullptr;
  SensordrvSetDTRPortFn SetDTRPort = nullptr;
  SensordrvGetVersionDeviceFn GetVersionDevice = nullptr;
  SensordrvSetStatusSensFn SetStatusSens = nullptr;
  SensordrvCheckStatusCmdFn CheckStatusCmd = nullptr;
  SensordrvGetDataSensFn GetDataSens = nullptr;
  SensordrvGetVBatFn GetVBat = nullptr;
  SensordrvCheckFailedDeviceFn CheckFailedDevice = nullptr;
  SensordrvSetMessageSinkFn SetMessageSink = nullptr;
  SensordrvGetLostFramesFn GetLostFrames = nullptr;

  template <typename F>
  void Bind(F& f, const char* name) {
    f = reinterpret_cast<F>(dlsym(handle, name));
  }
  // Loads the library and binds every name; false when any is missing.
  bool Load(const std::string& path) {
    handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) return false;
    Bind(SearchDevices, "_SearchDevices");
    Bind(CheckOpenPort, "_CheckOpenPort");
    Bind(OpenPort, "_OpenPort");
    Bind(ClosePort, "_ClosePort");
    Bind(SetDTRPort, "_SetDTRPort");
    Bind(GetVersionDevice, "_Get_version_Device");
    Bind(SetStatusSens, "_Set_status_SENS");
    Bind(CheckStatusCmd, "_Check_status_cmd");
    Bind(GetDataSens, "_Get_data_SENS");
    Bind(GetVBat, "_Get_V_bat");
    Bind(CheckFailedDevice, "_Check_failed_Device");
    Bind(SetMessageSink, "_SetMessageSink");
    Bind(GetLostFrames, "_Get_lost_frames_SENS");
    return GetLostFrames && SearchDevices && CheckOpenPort && OpenPort && ClosePort && SetDTRPort &&
           GetVersionDevice && SetStatusSens && CheckStatusCmd && GetDataSens && GetVBat &&
           CheckFailedDevice && SetMessageSink;
  }
};

inline bool IsTrue(unsigned char byteResult) { return (byteResult & 0xFF) != 0; }

inline int CountEntries(const char* dir) {
  int n = 0;
  if (DIR* d = opendir(dir)) {
    while (readdir(d) != nullptr) ++n;
    closedir(d);
  }
  return n;
}
inline int ThreadCount() { return CountEntries("/proc/self/task"); }

// The id of this process's thread with the given name, 0 when there is none.
inline int ThreadNamed(const std::string& name) {
  int found = 0;
  if (DIR* d = opendir("/proc/self/task")) {
    while (dirent* e = readdir(d)) {
      if (e->d_name[0] == '.') continue;
      std::ifstream comm(std::string("/proc/self/task/") + e->d_name + "/comm");
      std::string line;
      if (std::getline(comm, line) && line == name) found = std::atoi(e->d_name);
    }
    closedir(d);
  }
  return found;
}
inline int OpenFdCount() { return CountEntries("/proc/self/fd"); }

using SampleValues = std::array<std::int32_t, SENSORDRV_SAMPLE_VALUES>;

// The simulator's log: frame sequence number -> the 11 values it sent.
inline std::map<long, SampleValues> ReadSimLog(const std::string& file) {
  std::map<long, SampleValues> frames;
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("dropped", 0) == 0) continue;
    std::istringstream fields(line);
    long seq = 0;
    SampleValues v{};
    fields >> seq;
    for (auto& x : v) fields >> x;
    if (fields) frames[seq] = v;
  }
  return frames;
}

inline std::string TempPath(const std::string& name) {
  const char* dir = std::getenv("TMPDIR");
  return std::string(dir ? dir : "/tmp") + "/" + name + "-" + std::to_string(getpid());
}
