#pragma once
// libsensordrv-standin.so: the device library built over the stand-in
// libftdi1, loaded by file name like the real one, with the stand-in chip's
// hooks bound from the same library.

#include "ftdi_standin.h"
#include "library_harness.h"

struct StandinLibrary : SensorLibrary {
  FtdiStandinPlugFn Plug = nullptr;
  FtdiStandinUnplugFn Unplug = nullptr;
  FtdiStandinGetStatsFn GetStats = nullptr;

  bool LoadStandin(const std::string& path) {
    if (!Load(path)) return false;
    Bind(Plug, "FtdiStandinPlug");
    Bind(Unplug, "FtdiStandinUnplug");
    Bind(GetStats, "FtdiStandinGetStats");
    return Plug && Unplug && GetStats;
  }
  FtdiStandinStats Stats() const {
    FtdiStandinStats s{};
    GetStats(&s);
    return s;
  }
};
