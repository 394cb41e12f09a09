#include "analysis/autocorrelation.h"

#include <fftw3.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

#include "analysis/estimated_plans.h"

namespace sfigmo {

namespace {

struct FftwFree {
  void operator()(void* p) const { fftw_free(p); }
};
using RealBuffer = std::unique_ptr<double[], FftwFree>;
using SpectrumBuffer = std::unique_ptr<fftw_complex[], FftwFree>;

// A multiple of 64 whose other factors are 3s and 5s, at or above `need`:
// FFTW is fastest on such lengths (a full record's 11 102 becomes 11 520),
// and rounding up keeps the number of distinct plans small.
std::size_t TransformSize(std::size_t need) {
  constexpr std::size_t kTwos = 64;
  const std::size_t units = std::max<std::size_t>(1, (need + kTwos - 1) / kTwos);
  std::size_t best = SIZE_MAX;
  for (std::size_t p5 = 1;; p5 *= 5) {
    for (std::size_t p3 = p5;; p3 *= 3) {
      std::size_t v = p3;
      while (v < units) v *= 2;
      best = std::min(best, v);
      if (p3 >= units) break;
    }
    if (p5 >= units) break;
  }
  return best * kTwos;
}

// Sum of squares in four interleaved parts, which run side by side.
double Energy(std::span<const double> w) {
  double part[4] = {0.0, 0.0, 0.0, 0.0};
  std::size_t i = 0;
  for (; i + 4 <= w.size(); i += 4) {
    for (std::size_t j = 0; j < 4; ++j) part[j] += w[i + j] * w[i + j];
  }
  for (; i < w.size(); ++i) part[0] += w[i] * w[i];
  return (part[0] + part[1]) + (part[2] + part[3]);
}

// FFTW's planner is not reentrant and costs far more than a transform (some
// milliseconds), so each size is planned once and the plan runs on every
// caller's own arrays (fftw_alloc keeps those aligned as the plan expects).
// The kept wisdom of a size spares most of even that one planning.
// One forward plan serves both ways: see OverlapCorrelations.
class PlanCache {
 public:
  PlanCache() = default;
  PlanCache(const PlanCache&) = delete;
  PlanCache& operator=(const PlanCache&) = delete;

  // Real wave of `size` to its half spectrum.
  fftw_plan Forward(std::size_t size) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (const auto it = plans_.find(size); it != plans_.end()) return it->second;
    const std::span<const EstimatedPlan> kept = EstimatedPlans();
    const auto known = std::lower_bound(
        kept.begin(), kept.end(), size,
        [](const EstimatedPlan& p, std::size_t s) { return p.Size < s; });
    // A refused import (another FFTW) leaves the planner to estimate as before.
    if (known != kept.end() && known->Size == size) fftw_import_wisdom_from_string(known->Wisdom);
    const RealBuffer wave(fftw_alloc_real(size));
    const SpectrumBuffer spectrum(fftw_alloc_complex(size / 2 + 1));
    const fftw_plan plan =
        fftw_plan_dft_r2c_1d(static_cast<int>(size), wave.get(), spectrum.get(), FFTW_ESTIMATE);
    plans_.emplace(size, plan);
    return plan;
  }

 private:
  std::mutex mutex_;
  std::map<std::size_t, fftw_plan> plans_;
};

// Kept for the whole process and never torn down, so that a caller still
// running on another thread while the program exits finds its plan.
PlanCache& Plans() {
  static PlanCache& cache = *new PlanCache;
  return cache;
}

}  // namespace

std::vector<double> OverlapCorrelations(std::span<const double> w, std::size_t first,
                                        std::size_t last) {
  const std::size_t n = w.size();
  std::vector<double> r(last + 1, 0.0);
  const auto live = [](double v) { return v != 0.0; };
  const auto firstLive =
      static_cast<std::size_t>(std::find_if(w.begin(), w.end(), live) - w.begin());
  if (first > last || first >= n || firstLive == n) return r;
  const std::size_t lastLive =
      n - 1 - static_cast<std::size_t>(std::find_if(w.rbegin(), w.rend(), live) - w.rbegin());
  const std::size_t top = std::min(last, n - 1);
  // Zero padding past n + top keeps the circular correlation from wrapping
  // at every lag asked for.
  const std::size_t size = TransformSize(n + top);
  if (size > static_cast<std::size_t>(INT_MAX)) return r;
  const fftw_plan forward = Plans().Forward(size);

  const RealBuffer x(fftw_alloc_real(size));
  const SpectrumBuffer f(fftw_alloc_complex(size / 2 + 1));
  std::copy(w.begin(), w.end(), x.get());
  std::fill(x.get() + n, x.get() + size, 0.0);
  fftw_execute_dft_r2c(forward, x.get(), f.get());
  // The power spectrum is real and even, so its inverse transform equals
  // its forward one: the same plan, on the spectrum laid out in full.
  for (std::size_t k = 0; k <= size / 2; ++k) {
    x[k] = f[k][0] * f[k][0] + f[k][1] * f[k][1];
    if (k > 0) x[size - k] = x[k];
  }
  fftw_execute_dft_r2c(forward, x.get(), f.get());

  // The energies over each overlap: the whole wave's less what the lag
  // leaves out at the one end or the other. A side without a nonzero sample
  // is zero outright, not a rounding residue.
  const double energy = Energy(w);
  const double scale = 1.0 / static_cast<double>(size);
  double lead = 0.0, trail = 0.0;  // w[0]² + ... + w[lag - 1]², w[n - lag]² + ... + w[n - 1]²
  for (std::size_t lag = 0; lag <= top; ++lag) {
    const double xx = energy - trail, yy = energy - lead;
    const bool silent = n - lag <= firstLive || lag > lastLive;
    if (lag >= first && !silent && xx > 0.0 && yy > 0.0) {
      r[lag] = f[lag][0] * scale / std::sqrt(xx * yy);
    }
    lead += w[lag] * w[lag];
    trail += w[n - 1 - lag] * w[n - 1 - lag];
  }
  return r;
}

}  // namespace sfigmo
