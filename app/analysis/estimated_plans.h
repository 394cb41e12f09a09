#pragma once
// The plans FFTW's estimating planner makes for the autocorrelation's
// transform sizes, kept as FFTW wisdom (scripts/estimated-plans.sh writes
// them). Estimating a plan takes some milliseconds, more than a whole
// record's analysis, so every process that analyses records paid it before
// its first record; with the wisdom at hand the planner takes the same plan
// (the same arithmetic, to the bit) in a fraction of that. FFTW refuses
// wisdom of another version, and wisdom a processor cannot run makes it plan
// afresh, so a stale table only costs the time it saves.

#include <cstddef>
#include <span>

namespace sfigmo {

struct EstimatedPlan {
  std::size_t Size;  // real samples of the transform
  const char* Wisdom;
};

// Sorted by size.
std::span<const EstimatedPlan> EstimatedPlans();

}  // namespace sfigmo
