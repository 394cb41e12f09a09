#include "analysis/indices.h"

#include <algorithm>
#include <cmath>

#include "common/format_general.h"

namespace sfigmo {

namespace {

constexpr double kPauseFactor = 1.5;
constexpr double kExtraFactor = 0.5;
constexpr double kModeHalfWidth = 0.025;  // s
constexpr double kSecondsPerMinute = 60.0;
constexpr double kPercent = 100.0;

// Pauses, extrasystoles, and the extremes and mode of the normal intervals,
// all judged against the mean of every interval.
struct Classified {
  double KOLP = 0, KOLE = 0, PauseSamples = 0, ExtraSamples = 0, ModeCount = 0;
  double MinNormal = 99999, MaxNormal = 0;
};

Classified Classify(std::span<const std::int32_t> intervals, double T, double meanInterval,
                    double meanSamples) {
  Classified c;
  for (const std::int32_t x : intervals) {
    if (x >= kPauseFactor * meanSamples) {
      c.KOLP += 1;
      c.PauseSamples += x;
    } else if (x <= kExtraFactor * meanSamples) {
      c.KOLE += 1;
      c.ExtraSamples += x;
    } else {
      c.MinNormal = std::min<double>(c.MinNormal, x);
      c.MaxNormal = std::max<double>(c.MaxNormal, x);
      const double seconds = x * T;
      if (meanInterval - kModeHalfWidth <= seconds && seconds <= meanInterval + kModeHalfWidth)
        c.ModeCount += 1;
    }
  }
  return c;
}

// The normal intervals chosen again, this time in seconds with both bounds
// excluded, so an interval on a bound may count differently than above.
double AbsDeviationSum(std::span<const std::int32_t> intervals, double T, double meanInterval) {
  double sum = 0.0;
  for (const std::int32_t x : intervals) {
    const double seconds = x * T;
    if (kExtraFactor * meanInterval < seconds && seconds < kPauseFactor * meanInterval)
      sum += std::abs(seconds - meanInterval);
  }
  return sum;
}

// Counts in samples of the four walks of one beat whose mark is at p.
struct BeatWalks {
  std::int64_t descent = 0, load = 0, rise = 0, fall = 0;
};

BeatWalks MeasureBeat(std::span<const std::int32_t> samples, std::size_t p) {
  const std::size_t N = samples.size();
  auto S = [&](std::size_t k) { return samples[k - 1]; };
  BeatWalks w;

  // Each walk stops at the first or last sample: a beat cut off by the
  // recording's end is measured as far as the recording goes.
  const double h20 = RoundHalfEven(S(p) * 0.2);
  std::size_t q = p;
  while (q > 1 && S(q) < h20) --q;
  w.descent = static_cast<std::int64_t>(p - q);

  q = p;
  while (q < N && S(q) < 0) ++q;
  const std::size_t z = q;
  w.load = static_cast<std::int64_t>(z - p);

  while (q < N && S(q) >= 0 && S(q) < S(q + 1)) ++q;
  const std::size_t peak = q;
  w.rise = static_cast<std::int64_t>(peak - z);

  const double h50 = RoundHalfEven(S(peak) * 0.5);
  while (q < N && S(q) > h50) ++q;
  w.fall = static_cast<std::int64_t>(q - peak);
  return w;
}

}  // namespace

CalcStop ComputeRhythm(std::span<const std::int32_t> intervals, double period, AnalysisResults& r) {
  const double T = period;
  const auto n = static_cast<std::int64_t>(intervals.size());
  std::int64_t sum = 0;
  for (const std::int32_t x : intervals) sum += x;
  // A damaged record's NaN or infinite period would pass "T != 0" and fill
  // every index with NaN; it ends the calculation here instead.
  if (n < 1 || sum == 0 || T == 0 || !std::isfinite(T)) return CalcStop::Rhythm1;

  r.MeanInterval = static_cast<double>(sum) * T / n;
  double squares = 0.0;
  for (const std::int32_t x : intervals) {
    const double d = x * T - r.MeanInterval;
    squares += d * d;
  }
  r.IntervalSD = std::sqrt(squares / n);
  r.MeanIntervalSamples = static_cast<double>(sum) / n;
  r.PULS = kSecondsPerMinute / r.MeanInterval;

  r.KOLP = r.KOLE = r.ModeCount = r.PauseSamples = r.ExtraSamples = r.AbsDeviationSum = 0.0;
  r.MinNormalInterval = 99999;
  r.MaxNormalInterval = 0;
  const Classified c = Classify(intervals, T, r.MeanInterval, r.MeanIntervalSamples);
  r.KOLP = c.KOLP;
  r.KOLE = c.KOLE;
  r.PauseSamples = c.PauseSamples;
  r.ExtraSamples = c.ExtraSamples;
  r.ModeCount = c.ModeCount;
  r.MinNormalInterval = c.MinNormal;
  r.MaxNormalInterval = c.MaxNormal;

  const double normalCount = static_cast<double>(n) - r.KOLP - r.KOLE;
  if (!(normalCount >= 1)) return CalcStop::Rhythm7;
  r.MeanNormalInterval =
      (static_cast<double>(sum) - r.PauseSamples - r.ExtraSamples) * T / normalCount;

  if (r.MaxNormalInterval - r.MinNormalInterval == 0) return CalcStop::Rhythm9;
  r.VRKI = (r.MaxNormalInterval - r.MinNormalInterval) * T;

  // A negative time base ends here, and so does one so large that the
  // means overflowed to infinity.
  if (r.MeanNormalInterval == 0 || r.VRKI == 0 || !(r.MeanNormalInterval >= 0) || !(r.VRKI >= 0) ||
      !std::isfinite(r.MeanNormalInterval) || !std::isfinite(r.VRKI))
    return CalcStop::Rhythm11;

  r.KOVR = kPercent * r.IntervalSD / r.MeanNormalInterval;
  r.SpreadIndex = 1 / (r.VRKI * r.MeanNormalInterval);
  r.AbsDeviationSum = AbsDeviationSum(intervals, T, r.MeanInterval);
  r.AbsDeviationPercent = kPercent * r.AbsDeviationSum / (normalCount * r.MeanNormalInterval);
  r.IntervalCount = static_cast<double>(n);
  return CalcStop::Completed;
}

CalcStop ComputeShape(std::span<const std::int32_t> samples, const MarkTable& table, double period,
                      AnalysisResults& r) {
  const double T = period;
  const int M = table.count();
  const int B = M - 3;  // the first mark and the last two are not measured
  // No samples: a table left over from another recording has nothing to walk on.
  if (B <= 0 || samples.empty()) return CalcStop::Shape;

  BeatWalks total;
  for (int j = 2; j <= M - 2; ++j) {
    // The table may come from an earlier recording (cleared indices, a longer
    // wave): keep every walk inside this one.
    const std::int64_t index = table.Marks[static_cast<std::size_t>(j - 1)].Index;
    const auto p = static_cast<std::size_t>(
        std::clamp<std::int64_t>(index, 1, static_cast<std::int64_t>(samples.size())));
    const BeatWalks w = MeasureBeat(samples, p);
    total.descent += w.descent;
    total.load += w.load;
    total.rise += w.rise;
    total.fall += w.fall;
  }
  r.DescentTime = static_cast<double>(total.descent) * T / B;
  r.NAGR = static_cast<double>(total.load) * T / B;
  r.RiseTime = static_cast<double>(total.rise) * T / B;
  r.SPSO = static_cast<double>(total.fall) * T / B;
  r.Reserved = 0.0;
  return CalcStop::Completed;
}

CalcStop ComputeAll(std::span<const std::int32_t> samples, const MarkTable& table, double period,
                    AnalysisResults& results) {
  const std::vector<std::int32_t> intervals = CardioIntervals(table);
  const CalcStop rhythm = ComputeRhythm(intervals, period, results);
  if (rhythm != CalcStop::Completed) return rhythm;
  return ComputeShape(samples, table, period, results);
}

namespace {

using Field = double AnalysisResults::*;
using R = AnalysisResults;

// The fields each step gives their values, in the order of the steps:
// the rhythm stage up to each of its guards, then the shape stage.
constexpr Field kClassified[] = {&R::MeanInterval,
                                 &R::MeanIntervalSamples,
                                 &R::PULS,
                                 &R::KOLP,
                                 &R::KOLE,
                                 &R::PauseSamples,
                                 &R::ExtraSamples,
                                 &R::MinNormalInterval,
                                 &R::MaxNormalInterval,
                                 &R::ModeCount,
                                 &R::IntervalSD};
constexpr Field kNormalMean[] = {&R::MeanNormalInterval};
constexpr Field kRange[] = {&R::VRKI};
constexpr Field kRhythmRest[] = {&R::AbsDeviationSum, &R::IntervalCount, &R::KOVR, &R::SpreadIndex,
                                 &R::AbsDeviationPercent};
constexpr Field kShape[] = {&R::NAGR, &R::DescentTime, &R::Reserved, &R::RiseTime, &R::SPSO};
constexpr std::span<const Field> kSteps[] = {kClassified, kNormalMean, kRange, kRhythmRest, kShape};

// How many of kSteps a calculation that ended at `stop` has run.
std::size_t StepsRun(CalcStop stop) {
  switch (stop) {
    case CalcStop::Rhythm1:
      return 0;
    case CalcStop::Rhythm7:
      return 1;
    case CalcStop::Rhythm9:
      return 2;
    case CalcStop::Rhythm11:
      return 3;
    case CalcStop::Shape:
      return 4;
    case CalcStop::Completed:
      return std::size(kSteps);
  }
  return 0;
}

}  // namespace

bool ResultWritten(CalcStop stop, Field field) {
  for (const std::span<const Field> step : std::span(kSteps).first(StepsRun(stop))) {
    if (std::find(step.begin(), step.end(), field) != step.end()) return true;
  }
  return false;
}

double TOSO(double nagr, double descentTime, double meanInterval) {
  return (nagr + descentTime) * 100 / meanInterval;
}

}  // namespace sfigmo
