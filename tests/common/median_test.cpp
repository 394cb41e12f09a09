#include "common/median.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace sfigmo {
namespace {

TEST(Median, IsTheMiddleValueAndTheUpperOneOfAnEvenCount) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const struct {
    std::vector<double> values;
    double median;
  } cases[] = {
      {{7.5}, 7.5},
      {{3, 1, 2}, 2},
      {{0.9, 0.8, 1.0, 0.85, 2.4}, 0.9},  // one long interval does not move it
      {{1, 4}, 4},                        // the upper middle, not the mean 2.5
      {{10, 2, 8, 4}, 8},
      {{5, 5, 1, 5}, 5},
      {{-3, -1, -2}, -2},
      {{kInf, 1, 2}, 2},
      {{-kInf, kInf}, kInf},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Median(c.values), c.median) << ::testing::PrintToString(c.values);
}

TEST(Median, OfNothingIsNaN) { EXPECT_TRUE(std::isnan(Median({}))); }

}  // namespace
}  // namespace sfigmo
