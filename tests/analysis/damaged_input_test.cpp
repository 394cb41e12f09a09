// Damaged and hostile recordings through the whole analysis: whatever the
// samples and the period, the marking keeps its invariants, a calculation
// either completes with usable values or stops at a guard, and the rules
// give an answer. Run under the sanitizers, this also proves the absence of
// overflow and out-of-range conversions.

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <random>

#include "analysis/beat_marking.h"
#include "analysis/conclusion_rules.h"
#include "analysis/indices.h"

namespace sfigmo {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

std::vector<std::int32_t> RandomWave(std::mt19937& rng) {
  const std::size_t n = std::uniform_int_distribution<std::size_t>(0, 11000)(rng);
  std::vector<std::int32_t> s(n);
  switch (rng() % 5) {
    case 0:  // any int32
      for (auto& v : s) v = static_cast<std::int32_t>(rng());
      break;
    case 1:  // small noise
      for (auto& v : s) v = static_cast<std::int32_t>(rng() % 41) - 20;
      break;
    case 2:  // the extremes only
      for (auto& v : s) v = (rng() & 1) ? INT32_MIN : INT32_MAX;
      break;
    case 3: {  // beats of random spacing and depth, with flat stretches
      std::size_t k = 0;
      while (k < n) {
        const std::size_t len = 1 + rng() % 120;
        const auto depth = static_cast<std::int32_t>(rng() % 200);
        for (std::size_t i = 0; i < len && k < n; ++i, ++k)
          s[k] = (i < len / 3) ? -depth : (i < len / 2 ? depth / 2 : 0);
      }
      break;
    }
    default:  // constant
      std::fill(s.begin(), s.end(), static_cast<std::int32_t>(rng()));
  }
  return s;
}

void CheckMarking(const std::vector<std::int32_t>& s, const MarkTable& t) {
  ASSERT_GE(t.count(), 1);
  ASSERT_LE(t.count(), kMarkTableCapacity);
  if (t.count() < 2) return;
  for (int j = 0; j < t.count(); ++j) {
    const BeatMark& m = t.Marks[static_cast<std::size_t>(j)];
    EXPECT_EQ(m.Marked, 1);
    ASSERT_GE(m.Index, 1);
    ASSERT_LE(static_cast<std::size_t>(m.Index), s.size());
    if (j > 0) {
      EXPECT_GT(m.Index, t.Marks[static_cast<std::size_t>(j - 1)].Index);
    }
  }
  for (std::int32_t x : CardioIntervals(t)) EXPECT_GE(x, 1);
}

TEST(DamagedInput, RandomRecordingsAndPeriodsNeverBreakTheAnalysis) {
  std::mt19937 rng(20261207);
  const double periods[] = {0.01, 0.0085, 1e-4,  1.0,   0.0,   -0.0,    -0.01,
                            kNaN, kInf,   -kInf, 1e308, 1e200, 4.9e-324};
  for (int round = 0; round < 300; ++round) {
    const std::vector<std::int32_t> s = RandomWave(rng);
    const MarkTable table = MarkBeats(s);
    CheckMarking(s, table);
    for (double T : periods) {
      (void)AcceptMarks(table, T);
      AnalysisResults r;
      const CalcStop stop = ComputeAll(s, table, T, r);
      if (!(T > 0) || std::isinf(T)) {
        EXPECT_NE(stop, CalcStop::Completed) << "T " << T;
      }
      if (stop == CalcStop::Completed && T >= 1e-4 && T <= 1.0) {
        const double* f = &r.NAGR;
        for (int i = 0; i < 23; ++i) {
          EXPECT_TRUE(std::isfinite(f[i])) << "field " << i;
        }
      }
      const int score = ConclusionScore(r);
      EXPECT_GE(score, -45);
      EXPECT_LE(score, 100);
      (void)ConclusionVerdicts(r);
      (void)AdviceNeeded(score, PressureEstimate(r, r.MeanInterval));
    }
  }
}

TEST(DamagedInput, RulesAcceptAnyStoredBlock) {
  const double values[] = {kNaN, kInf, -kInf, 0.0, -0.0, 1e308, -1e308, 4.9e-324, 72.0};
  for (double v : values) {
    AnalysisResults r;
    double* f = &r.NAGR;
    for (int i = 0; i < 23; ++i) f[i] = v;
    const int score = ConclusionScore(r);
    EXPECT_GE(score, -45);
    EXPECT_LE(score, 100);
    EXPECT_LE(ConclusionVerdicts(r).size(), 5u);
    const double estimate = PressureEstimate(r, v);
    if (!std::isfinite(estimate)) {
      EXPECT_TRUE(AdviceNeeded(100, estimate)) << v;
    }
  }
}

}  // namespace
}  // namespace sfigmo
