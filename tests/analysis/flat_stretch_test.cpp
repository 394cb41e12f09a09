// The flat-stretch criterion looks only at every few neighbours; it must
// find exactly the stretches a look at every sample finds.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "analysis/signal_quality.h"

namespace sfigmo {
namespace {

TEST(FlatStretch, FoundExactlyWhereAScanOfEverySampleFindsIt) {
  std::mt19937 rng(7);
  const struct {
    double period;  // a second is `need` samples
    std::size_t need, samples;
  } rates[] = {{0.02, 50, 1000}, {0.01, 100, 3000}, {0.5, 2, 40}, {0.3, 4, 9}, {1.0, 1, 2}};
  for (const auto& rate : rates) {
    for (const std::size_t length : {rate.need - 1, rate.need, rate.need + 1, rate.samples}) {
      for (const std::size_t at : {std::size_t{0}, rate.samples / 3, rate.samples}) {
        // Few values, so that short runs of equal neighbours are everywhere.
        std::vector<std::int32_t> s(rate.samples);
        for (std::int32_t& v : s) v = static_cast<std::int32_t>(rng() % 3);
        const std::size_t run = std::min(length, rate.samples), from = std::min(at, s.size() - run);
        std::fill_n(s.begin() + static_cast<std::ptrdiff_t>(from), run, 5);
        std::size_t longest = 1;
        for (std::size_t i = 1, r = 1; i < s.size(); ++i)
          longest = std::max(longest, r = s[i] == s[i - 1] ? r + 1 : 1);
        const auto reasons = AssessSignalQuality(s, MarkTable{}, rate.period).reasons;
        EXPECT_EQ(std::ranges::count(reasons, QualityReason::Flat), longest >= rate.need)
            << "period " << rate.period << ", run of " << run << " at " << from;
      }
    }
  }
}

}  // namespace
}  // namespace sfigmo
