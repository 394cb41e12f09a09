#pragma once
// Result blocks several test areas start from.

#include "record/analysis_results.h"

namespace sfigmo::test {

// A healthy measurement, score 100: every verdict in its norm. Tests change
// what they look at.
inline AnalysisResults HealthyResults() {
  AnalysisResults r;
  r.PULS = 72;
  r.VRKI = 0.1;
  r.DescentTime = 0.08;
  r.NAGR = 0.09;
  r.MeanInterval = 60.0 / 72;
  return r;
}

}  // namespace sfigmo::test
