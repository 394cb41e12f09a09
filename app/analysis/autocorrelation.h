#pragma once
// Normalised autocorrelation of a sampled wave over a range of lags, through
// two real FFTs (FFTW) instead of one pass over the wave per lag.
// Any thread. An FFT plan is made once per transform size (under a lock, as
// FFTW's planner requires, in some milliseconds) and kept until the program
// ends, with the arrays it last ran on for the next caller of that size;
// running a plan needs no lock.

#include <cstddef>
#include <functional>
#include <span>
#include <vector>

namespace sfigmo {

// r[lag] for lag = first..last: the sum of w[i] * w[i + lag] over the overlap
// i = 0 .. N - 1 - lag, divided by the square root of the products' two
// energies over that overlap. 0 where the overlap is empty or either energy
// is zero. The result has last + 1 entries; those below `first` are 0.
// O(N log N) in N + last; values agree with direct sums to about 1e-12 of
// the wave's energy.
std::vector<double> OverlapCorrelations(std::span<const double> w, std::size_t first,
                                        std::size_t last);

// The same for a wave of `n` values that `fill` writes into the span it is
// handed, the transform's own array: a wave made only to be correlated is
// then neither kept nor copied.
std::vector<double> OverlapCorrelationsOf(std::size_t n, std::size_t first, std::size_t last,
                                          const std::function<void(std::span<double>)>& fill);

}  // namespace sfigmo
