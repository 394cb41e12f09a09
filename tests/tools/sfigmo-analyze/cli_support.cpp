#include "cli_support.h"

namespace sfigmo::test {

RunResult RunAnalyze(const std::vector<std::string>& args, const std::string& env) {
  return RunProgram(SFIGMO_ANALYZE_EXE, args, env);
}

}  // namespace sfigmo::test
