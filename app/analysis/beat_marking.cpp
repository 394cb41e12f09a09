#include "analysis/beat_marking.h"

#include <algorithm>
#include <cstdlib>
#include <experimental/simd>

#include "common/format_general.h"

namespace sfigmo {

namespace {

// Samples before this one carry the filter's settling swing and are never
// looked at for the minimum.
constexpr std::size_t kFirstLookedAt = 10;
// A mark is found no earlier than this sample: the first beat needs a full
// swing before it.
constexpr std::size_t kFirstCandidate = 11;
// Two marks are at least this many samples apart (as found, before centring).
constexpr std::int64_t kMinSpacing = 11;

// 1-based view of S[1..N], so every index below reads as in the formulas.
class Samples {
 public:
  explicit Samples(std::span<const std::int32_t> s) : s_(s) {}
  std::size_t N() const { return s_.size(); }
  std::int32_t operator[](std::size_t k) const { return s_[k - 1]; }
  const std::int32_t* From(std::size_t k) const { return s_.data() + (k - 1); }

 private:
  std::span<const std::int32_t> s_;
};

bool IsCandidate(const Samples& S, std::size_t k, std::int32_t threshold) {
  return S[k] < threshold && S[k] < S[k - 1] && S[k] <= S[k + 1];
}

// The first k in [from, to] whose sample lies below the threshold; to + 1
// when none does. Most samples do not, and a block of them is passed over
// in a few instructions instead of a few per sample.
std::size_t NextBelow(const Samples& S, std::size_t from, std::size_t to, std::int32_t threshold) {
  namespace stdx = std::experimental;
  using Block = stdx::native_simd<std::int32_t>;
  std::size_t k = from;
  for (; k + Block::size() - 1 <= to; k += Block::size()) {
    if (stdx::any_of(Block(S.From(k), stdx::element_aligned) < threshold)) break;
  }
  while (k <= to && !(S[k] < threshold)) ++k;
  return k;
}

std::int32_t SmallestLookedAt(const Samples& S) {
  if (S.N() < kFirstLookedAt) return 9999;
  std::int32_t m = S[kFirstLookedAt];
  for (std::size_t k = kFirstLookedAt + 1; k <= S.N(); ++k) m = std::min(m, S[k]);
  return m;
}

// Half-way between the minimum and 0. Computed in double: -MarkMin of the
// most negative int32 does not fit an int32, half of it does.
std::int32_t ThresholdFor(std::int32_t markMin) {
  const double half = RoundHalfEven(-static_cast<double>(markMin) * 0.5);
  return static_cast<std::int32_t>(half + markMin);
}

// A mark on the first sample of a flat bottom moves to the run's middle.
std::int32_t Centred(const Samples& S, std::int32_t index) {
  const auto p = static_cast<std::size_t>(index);
  if (p < 1 || p + 1 > S.N() || S[p] != S[p + 1]) return index;
  std::size_t q = p + 1;
  while (q <= S.N() && S[q] == S[p]) ++q;
  return static_cast<std::int32_t>((p + q) / 2);
}

}  // namespace

MarkTable MarkBeats(std::span<const std::int32_t> samples) {
  const Samples S(samples);
  const std::size_t N = S.N();
  MarkTable table;
  table.MarkMin = SmallestLookedAt(S);
  table.MarkThreshold = ThresholdFor(table.MarkMin);

  // In a local: stores into the table would otherwise make every sample
  // read it again.
  const std::int32_t threshold = table.MarkThreshold;
  std::size_t first = 0;
  for (std::size_t k = kFirstCandidate; k + 2 <= N; ++k) {
    k = NextBelow(S, k, N - 2, threshold);
    if (k + 2 > N) break;
    if (IsCandidate(S, k, threshold)) {
      first = k;
      break;
    }
  }
  if (first == 0) {
    // No beat at all: one placeholder entry, which the acceptance test rejects.
    const std::size_t at = std::max<std::size_t>(kFirstLookedAt, N >= 2 ? N - 2 : 0);
    const std::int32_t value = at <= N ? S[at] : 0;
    table.Marks.push_back({1, value, static_cast<std::int32_t>(at)});
  } else {
    table.Marks.push_back({1, S[first], static_cast<std::int32_t>(first)});
    std::int64_t last = static_cast<std::int64_t>(first);
    for (std::size_t k = first + kMinSpacing; k + 1 <= N; ++k) {
      k = NextBelow(S, k, N - 1, threshold);
      if (k + 1 > N) break;
      if (!IsCandidate(S, k, threshold)) continue;
      // The first candidate of a cluster wins; deeper ones close behind it are dropped.
      if (static_cast<std::int64_t>(k) > last + (kMinSpacing - 1)) {
        if (table.count() == kMarkTableCapacity)
          break;  // a caller that passed more than a record holds
        table.Marks.push_back({1, S[k], static_cast<std::int32_t>(k)});
        last = static_cast<std::int64_t>(k);
      }
    }
  }
  for (BeatMark& mark : table.Marks) mark.Index = Centred(S, mark.Index);
  return table;
}

Rejection AcceptMarks(const MarkTable& table, double samplePeriod) {
  if (table.count() < 3) return Rejection::Beats;
  // Written as "not within 2 s" so that a damaged NaN period is rejected
  // rather than slipping through a comparison that is false for NaN.
  const double firstBeatAt = table.Marks.front().Index * samplePeriod;
  if (!(firstBeatAt <= 2.0)) return Rejection::FirstBeat;
  if (std::llabs(static_cast<long long>(table.MarkMin)) < 20) return Rejection::Amplitude;
  if (table.count() > 100) return Rejection::TooMany;
  return Rejection::None;
}

std::vector<std::int32_t> CardioIntervals(const MarkTable& table) {
  std::vector<std::int32_t> intervals;
  if (table.Marks.size() < 2) return intervals;
  intervals.reserve(table.Marks.size() - 1);
  for (std::size_t j = 1; j < table.Marks.size(); ++j) {
    // Indices are any int32 when a caller hands in a table of its own: no overflow.
    const std::int64_t d =
        static_cast<std::int64_t>(table.Marks[j].Index) - table.Marks[j - 1].Index;
    intervals.push_back(
        static_cast<std::int32_t>(std::clamp<std::int64_t>(d, INT32_MIN, INT32_MAX)));
  }
  return intervals;
}

}  // namespace sfigmo
