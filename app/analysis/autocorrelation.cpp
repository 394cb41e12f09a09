#include "analysis/autocorrelation.h"

#include <fftw3.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <utility>
#include <vector>

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

// One size's plan with a pair of arrays to run it on (fftw_alloc keeps
// them aligned as the plan expects).
struct Transform {
  std::size_t size = 0;
  fftw_plan plan = nullptr;
  RealBuffer wave;
  SpectrumBuffer spectrum;
};

// FFTW's planner is not reentrant and costs far more than a transform (some
// milliseconds), so each size is planned once; the kept wisdom of a size
// spares most of even that. The arrays are kept too: a batch of records
// would otherwise allocate and free two large blocks per record. Each
// caller borrows its own pair, so callers on several threads never share
// one. One forward plan serves both ways: see OverlapCorrelations.
class PlanCache {
 public:
  PlanCache() = default;
  PlanCache(const PlanCache&) = delete;
  PlanCache& operator=(const PlanCache&) = delete;

  // Real wave of `size` to its half spectrum, on arrays no other caller
  // holds until they are handed back.
  Transform Borrow(std::size_t size) {
    const std::lock_guard<std::mutex> lock(mutex_);
    Sized& sized = sizes_[size];
    if (sized.plan == nullptr) sized.plan = Plan(size);
    if (!sized.idle.empty()) {
      Transform t = std::move(sized.idle.back());
      sized.idle.pop_back();
      return t;
    }
    return {size, sized.plan, RealBuffer(fftw_alloc_real(size)),
            SpectrumBuffer(fftw_alloc_complex(size / 2 + 1))};
  }

  void HandBack(Transform t) {
    const std::lock_guard<std::mutex> lock(mutex_);
    std::vector<Transform>& idle = sizes_[t.size].idle;
    if (idle.size() < kIdlePerSize) idle.push_back(std::move(t));
  }

 private:
  // Two callers at once at most in the program; more are served, their
  // arrays just not kept.
  static constexpr std::size_t kIdlePerSize = 2;

  struct Sized {
    fftw_plan plan = nullptr;
    std::vector<Transform> idle;
  };

  static fftw_plan Plan(std::size_t size) {
    const std::span<const EstimatedPlan> kept = EstimatedPlans();
    const auto known = std::lower_bound(
        kept.begin(), kept.end(), size,
        [](const EstimatedPlan& p, std::size_t s) { return p.Size < s; });
    // A refused import (another FFTW) leaves the planner to estimate as before.
    if (known != kept.end() && known->Size == size) fftw_import_wisdom_from_string(known->Wisdom);
    const RealBuffer wave(fftw_alloc_real(size));
    const SpectrumBuffer spectrum(fftw_alloc_complex(size / 2 + 1));
    return fftw_plan_dft_r2c_1d(static_cast<int>(size), wave.get(), spectrum.get(),
                                FFTW_ESTIMATE);
  }

  std::mutex mutex_;
  std::map<std::size_t, Sized> sizes_;
};

// Kept for the whole process and never torn down, so that a caller still
// running on another thread while the program exits finds its plan.
PlanCache& Plans() {
  static PlanCache& cache = *new PlanCache;
  return cache;
}

// A borrowed transform, handed back when the caller is done.
class Lease {
 public:
  explicit Lease(std::size_t size) : t_(Plans().Borrow(size)) {}
  ~Lease() { Plans().HandBack(std::move(t_)); }
  Lease(const Lease&) = delete;
  Lease& operator=(const Lease&) = delete;

  fftw_plan plan() const { return t_.plan; }
  double* wave() const { return t_.wave.get(); }
  fftw_complex* spectrum() const { return t_.spectrum.get(); }

 private:
  Transform t_;
};

}  // namespace

std::vector<double> OverlapCorrelations(std::span<const double> w, std::size_t first,
                                        std::size_t last) {
  return OverlapCorrelationsOf(w.size(), first, last, [w](std::span<double> x) {
    std::copy(w.begin(), w.end(), x.begin());
  });
}

std::vector<double> OverlapCorrelationsOf(std::size_t n, std::size_t first, std::size_t last,
                                          const std::function<void(std::span<double>)>& fill) {
  std::vector<double> r(last + 1, 0.0);
  if (first > last || first >= n) return r;
  const std::size_t top = std::min(last, n - 1);
  // Zero padding past n + top keeps the circular correlation from wrapping
  // at every lag asked for.
  const std::size_t size = TransformSize(n + top);
  if (size > static_cast<std::size_t>(INT_MAX)) return r;
  const Lease transform(size);
  const fftw_plan forward = transform.plan();
  double* const x = transform.wave();
  fftw_complex* const f = transform.spectrum();
  fill(std::span<double>(x, n));
  const std::span<const double> w(x, n);
  const auto live = [](double v) { return v != 0.0; };
  const auto firstLive =
      static_cast<std::size_t>(std::find_if(w.begin(), w.end(), live) - w.begin());
  if (firstLive == n) return r;
  const std::size_t lastLive =
      n - 1 - static_cast<std::size_t>(std::find_if(w.rbegin(), w.rend(), live) - w.rbegin());

  // The energies over each overlap: the whole wave's less what the lag
  // leaves out at the one end or the other. A side without a nonzero sample
  // is zero outright, not a rounding residue. Taken before the transforms
  // overwrite the wave; a negative root marks a lag left at 0.
  const double energy = Energy(w);
  std::vector<double> root(top + 1, -1.0);
  double lead = 0.0, trail = 0.0;  // w[0]² + ... + w[lag - 1]², w[n - lag]² + ... + w[n - 1]²
  for (std::size_t lag = 0; lag <= top; ++lag) {
    const double xx = energy - trail, yy = energy - lead;
    const bool silent = n - lag <= firstLive || lag > lastLive;
    if (lag >= first && !silent && xx > 0.0 && yy > 0.0) root[lag] = std::sqrt(xx * yy);
    lead += w[lag] * w[lag];
    trail += w[n - 1 - lag] * w[n - 1 - lag];
  }

  std::fill(x + n, x + size, 0.0);
  fftw_execute_dft_r2c(forward, x, f);
  // The power spectrum is real and even, so its inverse transform equals
  // its forward one: the same plan, on the spectrum laid out in full
  // (x[size - k] = x[k]; the size is even).
  const std::size_t half = size / 2;
  for (std::size_t k = 0; k <= half; ++k) x[k] = f[k][0] * f[k][0] + f[k][1] * f[k][1];
  std::reverse_copy(x + 1, x + half, x + half + 1);
  fftw_execute_dft_r2c(forward, x, f);

  const double scale = 1.0 / static_cast<double>(size);
  for (std::size_t lag = first; lag <= top; ++lag) {
    if (root[lag] >= 0.0) r[lag] = f[lag][0] * scale / root[lag];
  }
  return r;
}

}  // namespace sfigmo
