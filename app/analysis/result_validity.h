#pragma once
// Whether a stored result block can have come from the analysis at all. A
// record file may hold anything in its 23 doubles (a damaged disk, an old
// writer, a hostile file); a value that is not finite or lies outside what
// the calculation can produce from a plausible recording is damaged. Damaged
// values are shown as "-", and no verdict, score, advice, trend point or
// message is derived from a block that holds one. Plain C++, any thread.

#include <span>
#include <string>
#include <vector>

#include "analysis/recording_plausibility.h"
#include "record/analysis_results.h"

namespace sfigmo {

// The ranges follow from the bounds a plausible recording keeps to
// (recording_plausibility.h) and at most kMaxSamples samples.

struct ResultRange {
  double AnalysisResults::*Member;
  double Min, Max;  // inclusive
  bool Whole;       // a count: only whole numbers
};

// Every judged field in record order (Reserved carries no meaning and is not
// judged).
std::span<const ResultRange> ResultRanges();

// True when `value` is finite, within the field's range and whole where it
// must be.
bool ResultValuePlausible(const ResultRange& range, double value);

// Names of the damaged fields in record order; empty for a sound block.
std::vector<std::string> DamagedResultNames(const AnalysisResults& results);

inline bool ResultsDamaged(const AnalysisResults& results) {
  return !DamagedResultNames(results).empty();
}

// The field's value as `format` would write it, or "-" when it is damaged.
// `member` must be one of ResultRanges(); any other is shown as "-".
template <typename Format>
std::string ShownResult(const AnalysisResults& results, double AnalysisResults::*member,
                        Format format) {
  for (const ResultRange& range : ResultRanges()) {
    if (range.Member == member && ResultValuePlausible(range, results.*member))
      return format(results.*member);
  }
  return "-";
}

// TOSO's inputs (NAGR, DescentTime, MeanInterval) are sound, so the tone can
// be computed and shown.
bool TosoPlausible(const AnalysisResults& results);

// What screens, pages and messages say instead of a conclusion (UTF-8).
inline constexpr const char* kDamagedResultsText =
    "Результаты в записи повреждены: заключение не составляется";
// The conclusion screen's short form, and what the user can do.
inline constexpr const char* kDamagedResultsTitle = "РЕЗУЛЬТАТЫ ПОВРЕЖДЕНЫ";
inline constexpr const char* kDamagedResultsAdvice = "Заключение не составляется: повторите расчёт";

}  // namespace sfigmo
