// The flat-stretch criterion looks only at every few neighbours; it must
// find exactly the stretches a scan of every sample finds.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "analysis/beat_marking.h"
#include "analysis/signal_quality.h"

namespace sfigmo {
namespace {

// The longest run of equal samples, one sample at a time.
std::size_t LongestRun(const std::vector<std::int32_t>& s) {
  std::size_t longest = s.empty() ? 0 : 1, run = 1;
  for (std::size_t i = 1; i < s.size(); ++i) {
    run = s[i] == s[i - 1] ? run + 1 : 1;
    longest = std::max(longest, run);
  }
  return longest;
}

bool Flagged(const std::vector<std::int32_t>& s, double period) {
  const SignalQuality q = AssessSignalQuality(s, MarkTable{}, period);
  return std::ranges::find(q.reasons, QualityReason::Flat) != q.reasons.end();
}

TEST(FlatStretch, FoundExactlyWhereAScanFindsIt) {
  std::mt19937 rng(7);
  const struct {
    double period;  // s per sample: a second is `need` samples
    std::size_t need, samples;
  } rates[] = {{0.02, 50, 1000}, {0.01, 100, 3000}, {0.5, 2, 40}, {0.3, 4, 9}, {1.0, 1, 2}};
  for (const auto& rate : rates) {
    for (const std::size_t length : {rate.need - 1, rate.need, rate.need + 1, rate.samples}) {
      for (const std::size_t at : {std::size_t{0}, rate.samples / 3, rate.samples}) {
        // Few values, so that short runs of equal neighbours are everywhere.
        std::vector<std::int32_t> s(rate.samples);
        for (std::int32_t& v : s) v = static_cast<std::int32_t>(rng() % 3);
        const std::size_t from = std::min(at, rate.samples - std::min(length, rate.samples));
        std::fill_n(s.begin() + static_cast<std::ptrdiff_t>(from), std::min(length, rate.samples),
                    5);
        EXPECT_EQ(Flagged(s, rate.period), LongestRun(s) >= rate.need)
            << "period " << rate.period << ", run of " << length << " at " << from << ", longest "
            << LongestRun(s);
      }
    }
  }
}

}  // namespace
}  // namespace sfigmo
