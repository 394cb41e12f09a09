#include "damaged_values.h"

#include <cmath>

namespace sfigmo {

bool UsableResult(double value, bool periodOk) { return periodOk && std::isfinite(value); }

}  // namespace sfigmo
