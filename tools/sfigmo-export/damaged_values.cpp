#include "damaged_values.h"

#include <cmath>

namespace sfigmo {

bool PlausibleSamplePeriod(double seconds) {
  return std::isfinite(seconds) && seconds > 0.0 && seconds <= kMaxSamplePeriod;
}

bool UsableResult(double value, bool periodOk) { return periodOk && std::isfinite(value); }

}  // namespace sfigmo
