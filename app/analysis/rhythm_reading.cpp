#include "analysis/rhythm_reading.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "analysis/signal_quality.h"
#include "common/median.h"
#include "record/pulsogram_record.h"

namespace sfigmo {

namespace {
constexpr int kLeastIntervals = 8;
constexpr double kShort = 0.88;      // of the median interval
constexpr double kAfterShort = 0.9;  // the least pause after a premature beat
constexpr double kPause = 1.6;
constexpr double kIrregularSpread = 0.10;
// Two intervals are alike within this share of the median: two samples at 50
// per second and 75 per minute, as steady beats keep.
constexpr double kAlike = 0.05;
constexpr double kIrregularUnlike = 0.5;

// The share of intervals unlike both of their neighbours. Premature beats
// leave the normal intervals between them alike; in fibrillation nearly
// every interval differs from the one before and the one after.
double UnlikeShare(std::span<const double> r, double median) {
  int unlike = 0;
  for (std::size_t i = 0; i < r.size(); ++i) {
    const bool likeBefore = i > 0 && std::fabs(r[i] - r[i - 1]) <= kAlike * median;
    const bool likeAfter = i + 1 < r.size() && std::fabs(r[i + 1] - r[i]) <= kAlike * median;
    unlike += !likeBefore && !likeAfter;
  }
  return static_cast<double>(unlike) / static_cast<double>(r.size());
}
}  // namespace

RhythmFeatures RhythmFeaturesOf(std::span<const double> r) {
  RhythmFeatures f;
  f.intervals = static_cast<int>(r.size());
  const bool sound =
      std::all_of(r.begin(), r.end(), [](double x) { return std::isfinite(x) && x > 0.0; });
  if (r.empty() || !sound) return f;
  const double median = Median(std::vector<double>(r.begin(), r.end()));
  std::vector<bool> out(r.size(), false);
  for (std::size_t i = 0; i < r.size(); ++i) {
    if (r[i] > kPause * median) {
      ++f.pauses;
      out[i] = true;
    } else if (r[i] < kShort * median && (i + 1 == r.size() || r[i + 1] >= kAfterShort * median)) {
      ++f.premature;
      out[i] = true;
      if (i + 1 < r.size()) out[i + 1] = true;
    }
  }
  double sum = 0.0;
  int pairs = 0;
  for (std::size_t i = 0; i + 1 < r.size(); ++i) {
    if (out[i] || out[i + 1]) continue;
    sum += std::fabs(r[i + 1] - r[i]);
    ++pairs;
  }
  f.spread = pairs > 0 ? sum / pairs / median : 0.0;
  f.unlike = UnlikeShare(r, median);
  return f;
}

RhythmReading ReadIntervals(std::span<const double> intervals) {
  const RhythmFeatures f = RhythmFeaturesOf(intervals);
  if (f.intervals >= kLeastIntervals && f.spread > kIrregularSpread && f.unlike > kIrregularUnlike)
    return RhythmReading::Irregular;
  return f.premature + f.pauses > 0 ? RhythmReading::Ectopic : RhythmReading::Regular;
}

RhythmReading ReadRhythm(const MarkTable& marks) {
  const std::vector<std::int32_t> samples = CardioIntervals(marks);
  const std::vector<double> intervals(samples.begin(), samples.end());
  return ReadIntervals(intervals);
}

bool ShowsIrregularRhythm(const MarkTable& marks, const SignalQuality& quality,
                          double samplePeriod) {
  return AcceptMarks(marks, samplePeriod) == Rejection::None && !quality.doubtful &&
         ReadRhythm(marks) == RhythmReading::Irregular;
}

const char* IrregularRhythmText() {
  return "РИТМ НЕРЕГУЛЯРНЫЙ - ВОЗМОЖНА МЕРЦАТЕЛЬНАЯ АРИТМИЯ. ПОКАЖИТЕ ЗАПИСЬ ВРАЧУ";
}

}  // namespace sfigmo
