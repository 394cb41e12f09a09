// The FFT autocorrelation against the sums it stands for, lag by lag.

#include "analysis/autocorrelation.h"

#include <fftw3.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "analysis/beat_marking.h"
#include "analysis/estimated_plans.h"
#include "analysis/signal_quality.h"
#include "hostile_records.h"

namespace sfigmo {
namespace {

// The definition, one pass per lag.
std::vector<double> DirectCorrelations(const std::vector<double>& w, std::size_t first,
                                       std::size_t last) {
  const std::size_t n = w.size();
  std::vector<double> r(last + 1, 0.0);
  for (std::size_t lag = first; lag <= last && lag < n; ++lag) {
    double xy = 0.0, xx = 0.0, yy = 0.0;
    for (std::size_t i = 0; i + lag < n; ++i) {
      xy += w[i] * w[i + lag];
      xx += w[i] * w[i];
      yy += w[i + lag] * w[i + lag];
    }
    r[lag] = xx > 0.0 && yy > 0.0 ? xy / std::sqrt(xx * yy) : 0.0;
  }
  return r;
}

std::vector<double> PulseLike(std::size_t n, double period, unsigned seed) {
  std::mt19937 rng(seed);
  std::normal_distribution<double> noise(0.0, 0.3);
  std::vector<double> w(n);
  for (std::size_t i = 0; i < n; ++i) {
    const double phase = 2.0 * M_PI * static_cast<double>(i) / period;
    w[i] = std::sin(phase) + 0.4 * std::sin(2.0 * phase + 1.0) + noise(rng) + 50.0 * (i == n / 3);
  }
  return w;
}

TEST(OverlapCorrelations, AgreesWithTheDirectSums) {
  const struct {
    std::size_t n, first, last;
  } cases[] = {
      {10901, 24, 201},                              // a full record at 100 samples per second
      {316, 11, 101},                                // one measurement window at 50 per second
      {1, 0, 3},        {2, 1, 1},       {7, 0, 6},  // shorter than the lags
      {997, 0, 996},    {1000, 5, 1500},             // a prime length; lags past the end
      {4099, 100, 100},                              // one lag
  };
  for (const auto& c : cases) {
    const std::vector<double> w = PulseLike(c.n, 37.3, static_cast<unsigned>(c.n));
    const std::vector<double> fast = OverlapCorrelations(w, c.first, c.last);
    const std::vector<double> slow = DirectCorrelations(w, c.first, c.last);
    ASSERT_EQ(fast.size(), c.last + 1) << c.n;
    for (std::size_t lag = 0; lag <= c.last; ++lag) {
      EXPECT_NEAR(fast[lag], slow[lag], 1e-9) << "n " << c.n << ", lag " << lag;
    }
  }
}

// Zero energy on either side of the overlap gives 0, never a division by a
// rounding residue; an empty range or wave gives all zeros.
TEST(OverlapCorrelations, SilentStretchesAndEmptyRanges) {
  std::vector<double> w(500, 0.0);
  for (std::size_t i = 0; i < 40; ++i) w[i] = std::sin(static_cast<double>(i));
  const std::vector<double> r = OverlapCorrelations(w, 1, 300);
  for (std::size_t lag = 40; lag <= 300; ++lag) EXPECT_EQ(r[lag], 0.0) << lag;
  EXPECT_EQ(OverlapCorrelations(std::vector<double>(100, 0.0), 0, 50),
            std::vector<double>(51, 0.0));
  EXPECT_EQ(OverlapCorrelations({}, 0, 4), std::vector<double>(5, 0.0));
  EXPECT_EQ(OverlapCorrelations(w, 9, 3), std::vector<double>(4, 0.0));
}

// Callers on several threads at once, on lengths that need new plans and on
// shared ones, all get the direct sums' answer.
TEST(OverlapCorrelations, ConcurrentCallersAgree) {
  const std::size_t lengths[] = {3001, 3001, 2187, 1234};
  std::vector<std::vector<double>> waves, expected, got(std::size(lengths));
  for (std::size_t n : lengths) {
    waves.push_back(PulseLike(n, 23.0, static_cast<unsigned>(n)));
    expected.push_back(DirectCorrelations(waves.back(), 10, 120));
  }
  std::vector<std::thread> threads;
  for (std::size_t t = 0; t < waves.size(); ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < 5; ++round) got[t] = OverlapCorrelations(waves[t], 10, 120);
    });
  }
  for (std::thread& t : threads) t.join();
  for (std::size_t t = 0; t < waves.size(); ++t) {
    for (std::size_t lag = 10; lag <= 120; ++lag) EXPECT_NEAR(got[t][lag], expected[t][lag], 1e-9);
  }
}

// The plan FFTW makes for a real transform of `size`, as FFTW prints it.
std::string PlanText(std::size_t size) {
  double* wave = fftw_alloc_real(size);
  fftw_complex* spectrum = fftw_alloc_complex(size / 2 + 1);
  const fftw_plan plan =
      fftw_plan_dft_r2c_1d(static_cast<int>(size), wave, spectrum, FFTW_ESTIMATE);
  char* printed = fftw_sprint_plan(plan);
  std::string text = printed;
  std::free(printed);
  fftw_destroy_plan(plan);
  fftw_free(spectrum);
  fftw_free(wave);
  return text;
}

// Each kept plan is the very one the estimating planner makes for its size,
// so the results through it are the same to the bit; and a full record's
// size (10 901 samples and 201 lags, 11 520) is among them.
TEST(EstimatedPlans, AreThePlannersOwn) {
  const std::span<const EstimatedPlan> kept = EstimatedPlans();
  ASSERT_TRUE(std::is_sorted(kept.begin(), kept.end(), [](const auto& a, const auto& b) {
    return a.Size < b.Size;
  }));
  EXPECT_TRUE(std::any_of(kept.begin(), kept.end(), [](const auto& p) { return p.Size == 11520; }));
  for (const EstimatedPlan& plan : kept) {
    fftw_forget_wisdom();
    const std::string estimated = PlanText(plan.Size);
    fftw_forget_wisdom();
    if (fftw_import_wisdom_from_string(plan.Wisdom) == 0) {
      GTEST_SKIP() << "the kept wisdom is not this FFTW's: run scripts/estimated-plans.sh";
    }
    EXPECT_EQ(PlanText(plan.Size), estimated) << plan.Size;
  }
}

// The quality check's wave is built from whole sums and the correlation
// does not depend on scale, so samples scaled by a power of two give the
// same period to the last bit, whether the sums become doubles two at a
// time (small samples) or by plain conversion (large ones).
TEST(OverlapCorrelations, WavePeriodIsTheSameForScaledSamples) {
  const auto record = test::HealthyRecording();
  const std::span<const std::int32_t> s(record->Samples,
                                        static_cast<std::size_t>(record->SampleCount));
  const MarkTable marks = MarkBeats(s);
  const double period = AssessSignalQuality(s, marks, record->SamplePeriod).independentPULS;
  ASSERT_TRUE(std::isfinite(period));
  const std::int32_t largest = std::ranges::max(s, {}, [](std::int32_t v) { return std::abs(v); });
  for (const int shift : {1, 8, 16, 20}) {
    ASSERT_LT(std::abs(largest), INT32_MAX >> shift);
    std::vector<std::int32_t> scaled(s.begin(), s.end());
    for (std::int32_t& v : scaled) v *= 1 << shift;
    EXPECT_EQ(AssessSignalQuality(scaled, marks, record->SamplePeriod).independentPULS, period)
        << "samples times 2^" << shift;
  }
}

}  // namespace
}  // namespace sfigmo
