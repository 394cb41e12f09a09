#include "analysis/signal_quality.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <iterator>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

#include "analysis/autocorrelation.h"
#include "common/median.h"
#include "record/pulsogram_record.h"

namespace sfigmo {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

constexpr double kShortestBeat = 0.25;  // s, 240 beats per minute
constexpr double kLongestBeat = 2.0;    // s, 30 beats per minute
constexpr double kFinestStep = 0.01;    // s, the rebuilt wave's coarsest needed detail
constexpr double kSmoothing = 0.5;      // s either side for the wave's local mean
constexpr double kPeakShare = 0.8;      // of the highest correlation peak
constexpr double kLeastCorrelation = 0.3;
constexpr double kRateTolerance = 0.15;  // of the period
constexpr double kShortInterval = 0.75;  // of the period
constexpr double kRecurringDepth = 0.6;  // of the suspect mark's depth
constexpr double kSplitPart = 0.5;       // of the period: the shorter part of a split beat
constexpr double kDelayWidth = 0.05;     // of the period, either side
constexpr double kSwingHalf = 0.06;      // s: a beat's deep swing either side of its mark
constexpr double kOneBeatLow = 0.8, kOneBeatHigh = 1.2;
constexpr double kEarliestBeat = 0.3;       // s after the previous beat
constexpr double kEarliestShare = 1.0 / 3;  // of the period
constexpr double kLongInterval = 1.5;
constexpr double kMissedWindow = 0.2;
constexpr double kMissedDepth = 0.5;
constexpr double kDeepestShare = 1.7;
constexpr double kFlatSeconds = 1.0;
constexpr double kShapeBefore = 0.3;  // s of a beat's shape before its mark: its diastole
constexpr double kShapeAfter = 0.25;  // s after it
constexpr double kAlike = 0.8;        // correlation of a mark's shape with the typical beat
constexpr double kOddShare = 0.2;     // of the marks, unlike the typical beat
constexpr double kBeatLike = 0.9;     // correlation of an unmarked swing
constexpr double kFullDepth = 0.85;   // of a typical mark's depth
constexpr double kDueWindow = 0.08;   // of the period, either side
constexpr double kSteadyBand = 0.15;  // of the median interval
constexpr double kSplitShare = 0.7;  // of the longer part, the shorter part of a split beat at most
constexpr std::size_t kShapeMarks = 32;  // marks the typical beat is made of, at most

// Of the period: how near a long interval lies to a whole number of them.
constexpr double kWholeTolerance = 0.15;

// A whole number below 2^51 in magnitude as a double, the same as its
// conversion; made of an integer and a floating addition, it runs two to
// an instruction where the conversion (before AVX-512) runs one.
template <typename Whole>
double ExactDouble(Whole v) {
  if constexpr (std::is_integral_v<Whole>) {
    constexpr double kShift = 0x1.8p52;
    return std::bit_cast<double>(static_cast<std::int64_t>(v) +
                                 std::bit_cast<std::int64_t>(kShift)) -
           kShift;
  }
  return static_cast<double>(v);
}

// The pulse wave itself: the running sum of the differentiated samples less
// its mean over the surrounding second (breathing and drift), averaged over
// blocks of `block` samples, into `wave` (n / block values). The sums are
// whole numbers, kept in `Whole`. The working arrays are written before
// they are read, so they are never cleared.
template <typename Whole>
void PulseWaveIn(std::span<const std::int32_t> s, double period, std::size_t block,
                 std::span<double> wave) {
  const std::size_t n = s.size();
  std::unique_ptr<double[]> own;  // the sums, when they are not the wave itself
  if (block != 1) own = std::make_unique_for_overwrite<double[]>(n);
  double* const sum = block == 1 ? wave.data() : own.get();  // sum[i]: S[1] + ... + S[i + 1]
  const auto prefix = std::make_unique_for_overwrite<Whole[]>(n + 1);  // sum[0] + ... + sum[k - 1]
  prefix[0] = 0;
  // Whole sums need not be stored: each is the difference of two entries
  // of the prefix, exactly. The loop that adds up is then one store per
  // sample, and the conversions move to the loops below, which run wide.
  constexpr bool kWhole = std::is_integral_v<Whole>;
  Whole running = 0, low = 0, high = 0;
  for (std::size_t i = 0; i < n; ++i) {
    running += s[i];
    if constexpr (kWhole) {
      low = std::min(low, running), high = std::max(high, running);
    } else {
      sum[i] = static_cast<double>(running);
    }
    prefix[i + 1] = prefix[i] + running;
  }
  // No difference of two prefix entries exceeds n times the largest sum:
  // below 2^51, as with any record of real samples, ExactDouble holds.
  const double largest = std::max(-static_cast<double>(low), static_cast<double>(high));
  const bool small = kWhole && largest * static_cast<double>(n) < 0x1p50;
  const auto sumAt = [&](std::size_t i) {
    if constexpr (kWhole) return static_cast<double>(prefix[i + 1] - prefix[i]);
    return sum[i];
  };
  const auto half = static_cast<std::size_t>(
      std::max(1.0, std::min(std::round(kSmoothing / period), static_cast<double>(n))));
  // Each sum is read and written only at its own index. Where the window lies
  // whole inside the wave its width is the same, so a product stands for
  // the quotient (a rounding apart).
  const std::size_t used = n / block * block;
  const auto edgeMean = [&](std::size_t i) {
    const std::size_t a = i > half ? i - half : 0;    // the window's first index
    const std::size_t b = std::min(n, i + half + 1);  // one past its last
    return static_cast<double>(prefix[b] - prefix[a]) / static_cast<double>(b - a);
  };
  const std::size_t whole = n > 2 * half ? n - 2 * half : 0;  // windows inside the wave
  const double inverse = 1.0 / static_cast<double>(2 * half + 1);
  // The edges apart, so that the inner loop has no branch.
  const std::size_t inner = std::min(half, used), outer = std::min(half + whole, used);
  for (std::size_t i = 0; i < inner; ++i) sum[i] = sumAt(i) - edgeMean(i);
  if (small) {
    for (std::size_t i = inner; i < outer; ++i) {
      sum[i] = ExactDouble(prefix[i + 1] - prefix[i]) -
               ExactDouble(prefix[i + half + 1] - prefix[i - half]) * inverse;
    }
  } else {
    for (std::size_t i = inner; i < outer; ++i)
      sum[i] = sumAt(i) - static_cast<double>(prefix[i + half + 1] - prefix[i - half]) * inverse;
  }
  for (std::size_t i = std::max(inner, outer); i < used; ++i) sum[i] = sumAt(i) - edgeMean(i);
  if (block == 1) return;
  std::fill(wave.begin(), wave.end(), 0.0);
  for (std::size_t i = 0; i < used; ++i) wave[i / block] += sum[i] / static_cast<double>(block);
}

void PulseWave(std::span<const std::int32_t> s, double period, std::size_t block,
               std::span<double> wave) {
  // 64-bit integers add up faster than doubles, and exactly: every sum of
  // sums stays under 2^63 up to 65 536 samples of any value. Longer spans
  // (never a record) add up in doubles.
  constexpr std::size_t kExactSamples = 65536;
  if (s.size() <= kExactSamples) return PulseWaveIn<std::int64_t>(s, period, block, wave);
  PulseWaveIn<double>(s, period, block, wave);
}

// The beat period in samples (fractional); NaN when the wave has none.
double WavePeriod(std::span<const std::int32_t> s, double period) {
  const auto block = static_cast<std::size_t>(
      std::clamp(std::floor(kFinestStep / period), 1.0, static_cast<double>(s.size() + 1)));
  const double step = period * static_cast<double>(block);
  const std::size_t waveSize = s.size() / block;
  const double shortest = std::max(2.0, std::ceil(kShortestBeat / step));
  const double longest =
      std::min(static_cast<double>(waveSize / 2), std::floor(kLongestBeat / step));
  if (!(longest > shortest)) return kNaN;
  const auto lo = static_cast<std::size_t>(shortest);
  const auto hi = static_cast<std::size_t>(longest);
  // The wave is made straight into the transform's array.
  const std::vector<double> r = OverlapCorrelationsOf(
      waveSize, lo - 1, hi + 1, [&](std::span<double> w) { PulseWave(s, period, block, w); });
  auto isPeak = [&](std::size_t lag) { return r[lag] >= r[lag - 1] && r[lag] >= r[lag + 1]; };
  double highest = 0.0;
  for (std::size_t lag = lo; lag <= hi; ++lag) {
    if (isPeak(lag)) highest = std::max(highest, r[lag]);
  }
  if (highest < kLeastCorrelation) return kNaN;
  for (std::size_t lag = lo; lag <= hi; ++lag) {
    if (!isPeak(lag) || r[lag] < kPeakShare * highest) continue;
    // The peak's top between the lags, from the parabola through three.
    const double a = r[lag - 1], c = r[lag], b = r[lag + 1];
    const double bend = a - 2.0 * c + b;
    const double offset = bend < 0.0 ? 0.5 * (a - b) / bend : 0.0;
    return (static_cast<double>(lag) + offset) * static_cast<double>(block);
  }
  return kNaN;
}

// 1-based view of the samples, clipped to 1..N for positions outside.
class Wave {
 public:
  explicit Wave(std::span<const std::int32_t> s) : s_(s) {}
  long N() const { return static_cast<long>(s_.size()); }
  std::int32_t operator[](long k) const { return s_[static_cast<std::size_t>(k - 1)]; }
  long Clip(long k) const { return std::clamp(k, 1L, N()); }

  // Lowest sample within `width` of `centre`, and never above 0.
  std::int32_t LowestNear(double centre, double width) const {
    std::int32_t low = 0;
    for (long k = Clip(std::lround(centre - width)); k <= Clip(std::lround(centre + width)); ++k)
      low = std::min(low, (*this)[k]);
    return low;
  }

 private:
  std::span<const std::int32_t> s_;
};

struct Marks {
  std::vector<long> at;       // 1-based sample of each mark
  std::vector<double> depth;  // its sample value
  std::vector<double> gap;    // gap[j]: at[j + 1] - at[j]
  double beat = kNaN;         // the wave's period, samples
  double period = 0.0;        // s per sample
};

// Whether a swing at a mark's delay after its predecessor recurs in the
// other beats (marks not themselves the shorter part of a split beat). Short
// intervals share few delays, so the depths found at each delay are taken
// once and sorted; each interval then leaves out its own two marks.
class Recurrence {
 public:
  Recurrence(const Wave& w, const Marks& m) : w_(w), m_(m) {}

  bool Recurs(std::size_t j) {
    const DelayDepths& d = At(m_.gap[j]);
    std::ptrdiff_t left[] = {d.place[j], d.place[j + 1]};  // -1: not among them
    std::sort(std::begin(left), std::end(left));
    const std::size_t own = (left[0] >= 0) + (left[1] >= 0);
    if (d.sorted.size() < own + 2) return false;
    // Most beats must show the delay; a few that happen to is chance.
    if (2 * (d.sorted.size() - own) < d.beats) return false;
    // The median of the others: the sorted depths' middle, stepped over
    // the left-out places at or before it.
    auto middle = static_cast<std::ptrdiff_t>((d.sorted.size() - own) / 2);
    for (std::ptrdiff_t place : left) middle += place >= 0 && place <= middle;
    return d.sorted[static_cast<std::size_t>(middle)] <= kRecurringDepth * m_.depth[j + 1];
  }

 private:
  struct DelayDepths {
    std::vector<double> sorted;         // the lowest sample near each eligible mark
    std::vector<std::ptrdiff_t> place;  // place[a]: mark a's entry in sorted, or -1
    std::size_t beats = 0;              // marks that are beats of their own
  };

  const DelayDepths& At(double delay) {
    const auto found = byDelay_.find(delay);
    if (found != byDelay_.end()) return found->second;
    const double width = std::max(2.0, kDelayWidth * m_.beat);
    std::vector<std::pair<double, std::size_t>> depths;
    std::size_t beats = 0;
    std::size_t next = 0;  // the first mark not before the window
    for (std::size_t a = 0; a < m_.at.size(); ++a) {
      if (a > 0 && m_.gap[a - 1] < kSplitPart * m_.beat) continue;
      const double centre = static_cast<double>(m_.at[a]) + delay;
      if (centre + width > static_cast<double>(w_.N())) continue;
      ++beats;
      // A beat of its own at that delay (a fast or uneven rhythm) is no
      // part of this beat's shape. The centres only grow: one pass.
      const double near = width + kSwingHalf / m_.period;
      while (next < m_.at.size() && static_cast<double>(m_.at[next]) < centre - near) ++next;
      if (IsBeatWithin(next, centre, near)) continue;
      depths.emplace_back(w_.LowestNear(centre, width), a);
    }
    std::sort(depths.begin(), depths.end());
    DelayDepths d;
    d.beats = beats;
    d.place.assign(m_.at.size(), -1);
    for (const auto& [depth, a] : depths) {
      d.place[a] = static_cast<std::ptrdiff_t>(d.sorted.size());
      d.sorted.push_back(depth);
    }
    return byDelay_.emplace(delay, std::move(d)).first->second;
  }

  // A mark near `centre` that is a beat of its own: not the shorter part of
  // a split one.
  // `b`: the first mark not before centre - width.
  bool IsBeatWithin(std::size_t b, double centre, double width) const {
    if (b >= m_.at.size() || static_cast<double>(m_.at[b]) > centre + width) return false;
    return b == 0 || m_.gap[b - 1] >= kSplitPart * m_.beat;
  }

  const Wave& w_;
  const Marks& m_;
  std::map<double, DelayDepths> byDelay_;
};

bool OneBeat(double sum, double beat) {
  return sum >= kOneBeatLow * beat && sum <= kOneBeatHigh * beat;
}

// Whether successive intervals add up to steady pairs, each pair a short
// and a long part: a part of every beat marked (a dicrotic swing), not
// uneven beats.
bool PairsKeepTime(const Marks& m) {
  std::vector<double> sums;
  for (std::size_t j = 0; j + 1 < m.gap.size(); ++j) {
    const auto [shorter, longer] = std::minmax(m.gap[j], m.gap[j + 1]);
    if (shorter > kSplitShare * longer) return false;
    sums.push_back(m.gap[j] + m.gap[j + 1]);
  }
  if (sums.size() < 2) return false;
  const double typical = Median(sums);
  return std::all_of(sums.begin(), sums.end(), [typical](double s) {
    return std::fabs(s - typical) <= kSteadyBand * typical;
  });
}

// An extra mark inside one beat: paired with a neighbour into one period, or
// at an end of the recording too soon after the previous one to be a beat.
// Whether the intervals just outside the pair a, a + 1 (those there are, at
// least one) last one period each: the beats around the split one keep time.
bool BeatsAround(const Marks& m, std::size_t a) {
  const bool before = a > 0, after = a + 2 < m.gap.size();
  if (!before && !after) return false;
  return (!before || OneBeat(m.gap[a - 1], m.beat)) && (!after || OneBeat(m.gap[a + 2], m.beat));
}

// `beatLike(a)`: whether mark a has a beat's shape; an extra mark inside a
// beat has the systolic fall before it, a beat of an uneven rhythm its own
// diastole.
bool Splits(const Marks& m, std::size_t j, const auto& beatLike) {
  const std::size_t last = m.gap.size() - 1;
  const bool hasBefore = j > 0, hasAfter = j < last;
  if (hasBefore && OneBeat(m.gap[j - 1] + m.gap[j], m.beat) && BeatsAround(m, j - 1) &&
      !beatLike(j))
    return true;
  if (hasAfter && OneBeat(m.gap[j] + m.gap[j + 1], m.beat) && BeatsAround(m, j) && !beatLike(j + 1))
    return true;
  if (hasBefore && hasAfter) return false;
  return m.gap[j] * m.period < kEarliestBeat && m.gap[j] < kEarliestShare * m.beat;
}

// Each beat's shape: the samples from a little before its mark to past its
// upstroke, compared with the recording's typical beat (the median of each
// point over the marks) by their correlation.
class BeatShapes {
 public:
  BeatShapes(const Wave& w, const Marks& m) : w_(w) {
    // Whole samples, and never wider than the wave (any sample period).
    const auto samples = [&](double seconds) {
      return static_cast<long>(std::clamp(std::round(seconds / m.period), 2.0,
                                          static_cast<double>(std::max(2L, w.N()))));
    };
    before_ = samples(kShapeBefore);
    after_ = samples(kShapeAfter);
    const std::size_t width = static_cast<std::size_t>(before_ + after_ + 1);
    typical_.assign(width, 0.0);
    if (m.at.empty()) return;
    // A few dozen beats spread over the recording show its typical one; a
    // table of thousands of marks need not be read whole for it.
    const std::size_t stride = (m.at.size() + kShapeMarks - 1) / kShapeMarks;
    std::vector<double> column;
    for (std::size_t p = 0; p < width; ++p) {
      column.clear();
      for (std::size_t a = 0; a < m.at.size(); a += stride)
        column.push_back(w_[w_.Clip(m.at[a] - before_ + static_cast<long>(p))]);
      typical_[p] = Median(column);
    }
    for (const double y : typical_) sy_ += y, syy_ += y * y;
    vy_ = syy_ - sy_ * sy_ / static_cast<double>(width);
  }

  // Correlation of the wave around sample `at` with the typical beat.
  double Likeness(double at) const {
    const long from = std::lround(at) - before_;
    const auto width = static_cast<long>(typical_.size());
    double sx = 0, sxx = 0, sxy = 0;
    const auto add = [&](double x, double y) { sx += x, sxx += x * x, sxy += x * y; };
    if (from >= 1 && from + width - 1 <= w_.N()) {
      for (long p = 0; p < width; ++p) add(w_[from + p], typical_[static_cast<std::size_t>(p)]);
    } else {
      for (long p = 0; p < width; ++p)
        add(w_[w_.Clip(from + p)], typical_[static_cast<std::size_t>(p)]);
    }
    const auto n = static_cast<double>(width);
    const double vx = sxx - sx * sx / n;
    if (!(vx > 0.0) || !(vy_ > 0.0)) return 0.0;
    return (sxy - sx * sy_ / n) / std::sqrt(vx * vy_);
  }
  bool BeatLike(double at) const { return Likeness(at) >= kBeatLike; }
  // Whether the marks are beats of one shape, the odd one or two apart.
  bool OneShape(const std::vector<long>& marks) const {
    const double allowed = kOddShare * static_cast<double>(marks.size());
    double odd = 0.0;
    for (const long at : marks) {
      odd += Likeness(static_cast<double>(at)) < kAlike;
      if (odd > allowed) return false;
    }
    return true;
  }
  // The deepest sample within `width` of `centre`, where it lies.
  long DeepestNear(double centre, double width) const {
    long best = w_.Clip(std::lround(centre - width));
    for (long k = best; k <= w_.Clip(std::lround(centre + width)); ++k)
      if (w_[k] < w_[best]) best = k;
    return best;
  }

 private:
  const Wave& w_;
  long before_ = 0, after_ = 0;
  std::vector<double> typical_;
  double sy_ = 0.0, syy_ = 0.0, vy_ = 0.0;  // the typical beat's sum, sum of squares, variance x n
};

// Beats the marking passed over inside one long interval: a swing of a
// beat's shape where the next beat is due, at least half as deep as a
// typical mark on a steady rhythm, as deep as a full beat on any other.
bool Misses(const Wave& w, const Marks& m, std::size_t j, double typicalDepth, const auto& shapes,
            bool steady) {
  const double gap = m.gap[j];
  // A table left from another recording can hold any gap: no more beats
  // than samples are looked for.
  const double beats = std::round(std::min(gap / m.beat, static_cast<double>(w.N())));
  if (!(gap >= kLongInterval * m.beat) || !(beats >= 2.0)) return false;
  const bool wholePeriods = std::fabs(gap / m.beat - beats) <= kWholeTolerance;
  for (double k = 1.0; k < beats; k += 1.0) {
    const double at = static_cast<double>(m.at[j]) + gap * k / beats;
    const long deepest = shapes().DeepestNear(at, kMissedWindow * m.beat);
    if (!(w[deepest] < 0) || !shapes().BeatLike(static_cast<double>(deepest))) continue;
    if (w[deepest] <= kFullDepth * typicalDepth) return true;
    // A weaker swing early in the interval is a premature beat, and one in
    // an interval of no whole number of periods a weak beat of an uneven
    // rhythm.
    if (steady && wholePeriods && w[deepest] <= kMissedDepth * typicalDepth &&
        std::fabs(static_cast<double>(deepest) - at) <= kDueWindow * m.beat)
      return true;
  }
  return false;
}

// The typical interval judged against the wave's period: pauses (an
// interval of 1.5 periods or more) apart when at least about every other
// interval is no pause, as in bigeminy; "missed" judges the pauses.
double BeatLength(const Marks& m, double typical) {
  std::vector<double> kept;
  for (const double g : m.gap) {
    if (g < kLongInterval * m.beat) kept.push_back(g);
  }
  if (kept.empty() || 2 * kept.size() + 1 < m.gap.size()) return typical;
  return Median(std::move(kept));
}

// Whether the intervals that are no pause stay within a band of the
// typical interval (premature beats and pauses apart, a sinus rhythm does).
bool SteadyRhythm(const Marks& m) {
  std::vector<double> kept;
  for (const double g : m.gap) {
    if (g < kLongInterval * m.beat) kept.push_back(g);
  }
  if (kept.size() < 2) return true;
  const auto [lo, hi] = std::minmax_element(kept.begin(), kept.end());
  return *hi - *lo <= kSteadyBand * Median(kept);
}

bool HasFlatStretch(std::span<const std::int32_t> s, double period) {
  const double longest = std::ceil(kFlatSeconds / period);
  if (s.size() < 2 || !(longest <= static_cast<double>(s.size()))) return false;
  const auto need = static_cast<std::size_t>(std::max(longest, 1.0));
  if (need == 1) return true;
  // `need` equal samples are need - 1 equal neighbours in a row (pair i:
  // samples i - 1 and i), and every such row holds a multiple of need - 1:
  // only the pairs there are looked at, and the rows through them measured.
  const std::size_t pairs = need - 1;
  for (std::size_t i = pairs; i < s.size(); i += pairs) {
    if (s[i] != s[i - 1]) continue;
    std::size_t first = i, last = i;
    while (first > 1 && s[first - 1] == s[first - 2]) --first;
    while (last + 1 < s.size() && s[last + 1] == s[last]) ++last;
    if (last - first + 1 >= pairs) return true;
  }
  return false;
}

}  // namespace

SignalQuality AssessSignalQuality(std::span<const std::int32_t> samples, const MarkTable& marks,
                                  double samplePeriod) {
  SignalQuality q;
  q.independentPULS = kNaN;
  if (!(samplePeriod > 0.0) || !std::isfinite(samplePeriod) || samples.empty()) return q;
  const Wave w(samples);
  Marks m;
  for (const BeatMark& b : marks.Marks) {
    if (!m.at.empty()) m.gap.push_back(static_cast<double>(b.Index - m.at.back()));
    m.at.push_back(b.Index);
    m.depth.push_back(b.Value);
  }
  m.beat = WavePeriod(samples, samplePeriod);
  m.period = samplePeriod;
  // The beats' shapes are made only when a criterion asks for them.
  std::optional<BeatShapes> made;
  const auto shapes = [&]() -> const BeatShapes& {
    if (!made) made.emplace(w, m);
    return *made;
  };
  bool irregular = false, rate = false, dicrotic = false, split = false, missed = false;
  if (std::isfinite(m.beat)) {
    q.independentPULS = 60.0 / (m.beat * samplePeriod);
  } else {
    irregular = true;
  }
  if (!m.gap.empty()) {
    const double typical = Median(m.gap);
    rate = !irregular && std::fabs(BeatLength(m, typical) - m.beat) > kRateTolerance * m.beat;
    if (irregular) m.beat = typical;
    const double typicalDepth = Median(m.depth);
    // Beats of one shape at uneven times are a rhythm finding: the wave's
    // period then says nothing about the marks.
    const bool steady = SteadyRhythm(m);
    if ((rate || irregular) && !steady && shapes().OneShape(m.at)) {
      rate = irregular = false;
      // Uneven beats that do not pair up into the wave's period: the period
      // is a multiple of theirs, and their own typical interval judges them.
      if (!PairsKeepTime(m)) m.beat = typical;
    }
    const auto beatLike = [&](std::size_t a) {
      return shapes().Likeness(static_cast<double>(m.at[a])) >= kAlike;
    };
    Recurrence recurrence(w, m);
    for (std::size_t j = 0; j < m.gap.size(); ++j) {
      if (m.gap[j] < kShortInterval * m.beat) {
        if (recurrence.Recurs(j)) {
          dicrotic = true;
        } else if (Splits(m, j, beatLike)) {
          split = true;
        }
      }
      missed = missed || Misses(w, m, j, typicalDepth, shapes, steady);
    }
  }
  bool depth = !m.depth.empty() && marks.MarkMin < kDeepestShare * Median(m.depth);
  if (depth && !m.gap.empty()) {
    // A beat stronger than the rest (after a pause) keeps a beat's shape; a
    // movement swing does not.
    const auto deepest = std::min_element(samples.begin(), samples.end()) - samples.begin() + 1;
    depth = !shapes().BeatLike(static_cast<double>(deepest));
  }
  const bool flat = HasFlatStretch(samples, samplePeriod);
  // The most telling reason first: the screens show that one.
  const std::pair<bool, QualityReason> found[] = {
      {dicrotic, QualityReason::Dicrotic}, {split, QualityReason::Split},
      {missed, QualityReason::Missed},     {flat, QualityReason::Flat},
      {depth, QualityReason::Depth},       {irregular, QualityReason::Irregular},
      {rate, QualityReason::Rate}};
  for (const auto& [yes, reason] : found) {
    if (yes) q.reasons.push_back(reason);
  }
  q.doubtful = !q.reasons.empty();
  return q;
}

SignalQuality AssessRecordQuality(const PulsogramRecord& record, const MarkTable& marks,
                                  double samplePeriod) {
  if (AcceptMarks(marks, samplePeriod) != Rejection::None) {
    SignalQuality good;
    good.independentPULS = kNaN;
    return good;
  }
  const std::span<const std::int32_t> samples(record.Samples,
                                              static_cast<std::size_t>(UsableSampleCount(record)));
  return AssessSignalQuality(samples, marks, samplePeriod);
}

const char* SignalWarningText() { return "СИГНАЛ НЕУСТОЙЧИВ - ПОВТОРИТЕ ИЗМЕРЕНИЕ"; }

std::string QualityReasonText(const SignalQuality& quality) {
  if (quality.reasons.empty()) return {};
  return std::string(Label(quality.reasons.front()).text);
}

}  // namespace sfigmo
