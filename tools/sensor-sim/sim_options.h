#pragma once
// Command line of sensor-sim.

#include <optional>
#include <string>

#include "sim_config.h"

namespace sensorsim {

struct ParsedOptions {
  SimConfig config;
  bool help = false;
  std::string error;  // Russian text when the command line is wrong
};

ParsedOptions ParseOptions(int argc, char** argv);
const char* UsageText();

}  // namespace sensorsim
