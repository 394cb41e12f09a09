#include "analysis/autocorrelation.h"

#include <fftw3.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cmath>
#include <map>
#include <memory>
#include <mutex>

namespace sfigmo {

namespace {

struct FftwFree {
  void operator()(void* p) const { fftw_free(p); }
};
using RealBuffer = std::unique_ptr<double[], FftwFree>;
using SpectrumBuffer = std::unique_ptr<fftw_complex[], FftwFree>;

// The smallest 2^a 3^b 5^c at or above `need`: FFTW is fastest on such
// lengths, and rounding up keeps the number of distinct plans small.
std::size_t TransformSize(std::size_t need) {
  std::size_t best = SIZE_MAX;
  for (std::size_t p5 = 1;; p5 *= 5) {
    for (std::size_t p3 = p5;; p3 *= 3) {
      std::size_t v = p3;
      while (v < need) v *= 2;
      best = std::min(best, v);
      if (p3 >= need) break;
    }
    if (p5 >= need) break;
  }
  return best;
}

struct PlanPair {
  fftw_plan forward = nullptr;   // real wave to half spectrum
  fftw_plan backward = nullptr;  // half spectrum to real wave, unscaled
};

// FFTW's planner is not reentrant and costs far more than a transform, so
// each size is planned once and the plans run on every caller's own arrays
// (fftw_alloc keeps those aligned as the plans expect).
class PlanCache {
 public:
  PlanCache() = default;
  PlanCache(const PlanCache&) = delete;
  PlanCache& operator=(const PlanCache&) = delete;
  ~PlanCache() {
    for (auto& [size, plans] : plans_) {
      fftw_destroy_plan(plans.forward);
      fftw_destroy_plan(plans.backward);
    }
  }

  PlanPair For(std::size_t size) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (const auto it = plans_.find(size); it != plans_.end()) return it->second;
    const int n = static_cast<int>(size);
    const RealBuffer wave(fftw_alloc_real(size));
    const SpectrumBuffer spectrum(fftw_alloc_complex(size / 2 + 1));
    PlanPair plans;
    plans.forward = fftw_plan_dft_r2c_1d(n, wave.get(), spectrum.get(), FFTW_ESTIMATE);
    plans.backward = fftw_plan_dft_c2r_1d(n, spectrum.get(), wave.get(), FFTW_ESTIMATE);
    plans_.emplace(size, plans);
    return plans;
  }

 private:
  std::mutex mutex_;
  std::map<std::size_t, PlanPair> plans_;
};

PlanCache& Plans() {
  static PlanCache cache;
  return cache;
}

}  // namespace

std::vector<double> OverlapCorrelations(std::span<const double> w, std::size_t first,
                                        std::size_t last) {
  const std::size_t n = w.size();
  std::vector<double> r(last + 1, 0.0);
  if (first > last || first >= n) return r;
  const std::size_t top = std::min(last, n - 1);
  // Zero padding past n + top keeps the circular correlation from wrapping
  // at every lag asked for.
  const std::size_t size = TransformSize(n + top);
  if (size > static_cast<std::size_t>(INT_MAX)) return r;
  const PlanPair plans = Plans().For(size);

  const RealBuffer x(fftw_alloc_real(size));
  const SpectrumBuffer f(fftw_alloc_complex(size / 2 + 1));
  std::copy(w.begin(), w.end(), x.get());
  std::fill(x.get() + n, x.get() + size, 0.0);
  fftw_execute_dft_r2c(plans.forward, x.get(), f.get());
  for (std::size_t k = 0; k <= size / 2; ++k) {
    f[k][0] = f[k][0] * f[k][0] + f[k][1] * f[k][1];
    f[k][1] = 0.0;
  }
  fftw_execute_dft_c2r(plans.backward, f.get(), x.get());

  std::vector<double> head(n + 1, 0.0);  // head[k]: w[0]² + ... + w[k - 1]²
  for (std::size_t i = 0; i < n; ++i) head[i + 1] = head[i] + w[i] * w[i];
  const double scale = 1.0 / static_cast<double>(size);
  for (std::size_t lag = first; lag <= top; ++lag) {
    const double xx = head[n - lag];
    const double yy = head[n] - head[lag];
    r[lag] = xx > 0.0 && yy > 0.0 ? x[lag] * scale / std::sqrt(xx * yy) : 0.0;
  }
  return r;
}

}  // namespace sfigmo
