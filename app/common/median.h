#pragma once
// The middle of a set of values, shared by the analysis and the tools so
// that they all mean the same value by it.

#include <algorithm>
#include <cstddef>
#include <limits>
#include <vector>

namespace sfigmo {

// The value at the middle of `values` once sorted: for an even count the
// upper of the two middle ones, never their mean, so it is always one of the
// values. NaN for none. Linear time; `values` is taken by copy to reorder.
inline double Median(std::vector<double> values) {
  if (values.empty()) return std::numeric_limits<double>::quiet_NaN();
  const auto mid = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
  std::nth_element(values.begin(), mid, values.end());
  return *mid;
}

}  // namespace sfigmo
