#pragma once
// Runs the built sfigmo-analyze on records the tests make in a temporary folder.

#include <string>
#include <vector>

#include "tool_run.h"

namespace sfigmo::test {

// `env` is prefixed to the command line ("LC_ALL=C.UTF-8" and the like).
RunResult RunAnalyze(const std::vector<std::string>& args,
                     const std::string& env = "LC_ALL=C.UTF-8");

}  // namespace sfigmo::test
