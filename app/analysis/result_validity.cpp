#include "analysis/result_validity.h"

#include <array>
#include <cmath>

#include "record/analysis_result_fields.h"
#include "record/pulsogram_record.h"

namespace sfigmo {
namespace {

constexpr double kSamples = kMaxSamples;
// Every time is a sample count times the period.
constexpr double kMaxSeconds = kSamples * kMaxSamplePeriod;
// The mark table's room bounds every count of beats and intervals.
constexpr double kMaxCount = 3000;
// A ratio of two times that are each at least one sample and at most the
// whole recording.
constexpr double kMaxPercent = 100.0 * kSamples;
// 1 / (VRKI * MeanNormalInterval), each at least one sample period.
constexpr double kMaxSpread = 1.0 / (kMinSamplePeriod * kMinSamplePeriod);

constexpr std::array<ResultRange, 22> kRanges = {{
    {&AnalysisResults::NAGR, 0, kMaxSeconds, false},
    {&AnalysisResults::DescentTime, 0, kMaxSeconds, false},
    {&AnalysisResults::RiseTime, 0, kMaxSeconds, false},
    {&AnalysisResults::SPSO, 0, kMaxSeconds, false},
    // 60 / PULS, at most 3 s; 0 is a block the calculation never filled.
    {&AnalysisResults::MeanInterval, 0, 60.0 / kMinPlausiblePulse, false},
    {&AnalysisResults::MeanIntervalSamples, 0, kSamples, false},
    {&AnalysisResults::PULS, kMinPlausiblePulse, kMaxPlausiblePulse, false},
    {&AnalysisResults::KOLP, 0, kMaxCount, true},
    {&AnalysisResults::KOLE, 0, kMaxCount, true},
    {&AnalysisResults::PauseSamples, 0, kSamples, true},
    {&AnalysisResults::ExtraSamples, 0, kSamples, true},
    {&AnalysisResults::AbsDeviationSum, 0, kMaxCount* kMaxSeconds, false},
    {&AnalysisResults::MinNormalInterval, 0, kSamples, true},
    {&AnalysisResults::MaxNormalInterval, 0, kSamples, true},
    {&AnalysisResults::ModeCount, 0, kMaxCount, true},
    {&AnalysisResults::IntervalCount, 0, kMaxCount, true},
    {&AnalysisResults::MeanNormalInterval, 0, kMaxSeconds, false},
    {&AnalysisResults::VRKI, 0, kMaxSeconds, false},
    {&AnalysisResults::KOVR, 0, kMaxPercent, false},
    {&AnalysisResults::SpreadIndex, 0, kMaxSpread, false},
    {&AnalysisResults::AbsDeviationPercent, 0, kMaxPercent, false},
    {&AnalysisResults::IntervalSD, 0, kMaxSeconds, false},
}};

}  // namespace

std::span<const ResultRange> ResultRanges() { return kRanges; }

bool ResultValuePlausible(const ResultRange& range, double value) {
  if (!std::isfinite(value) || value < range.Min || value > range.Max) return false;
  return !range.Whole || value == std::floor(value);
}

std::vector<std::string> DamagedResultNames(const AnalysisResults& results) {
  std::vector<std::string> names;
  for (const ResultRange& range : kRanges) {
    if (!ResultValuePlausible(range, results.*range.Member))
      names.emplace_back(AnalysisResultFieldName(range.Member));
  }
  return names;
}

bool TosoPlausible(const AnalysisResults& results) {
  for (const ResultRange& range : kRanges) {
    const bool input = range.Member == &AnalysisResults::NAGR ||
                       range.Member == &AnalysisResults::DescentTime ||
                       range.Member == &AnalysisResults::MeanInterval;
    if (input && !ResultValuePlausible(range, results.*range.Member)) return false;
  }
  return true;
}

}  // namespace sfigmo
