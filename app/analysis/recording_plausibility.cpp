#include "analysis/recording_plausibility.h"

#include <cmath>
#include <limits>

#include "common/format_general.h"

namespace sfigmo {

namespace {
constexpr double kSecondsPerMinute = 60.0;
}  // namespace

bool PlausibleSamplePeriod(double period) {
  // Written so that NaN fails as well.
  return period >= kMinSamplePeriod && period <= kMaxSamplePeriod;
}

double MarkedPulse(const MarkTable& marks, double period) {
  const int m = marks.count();
  if (m < 2) return std::numeric_limits<double>::quiet_NaN();
  const double span =
      static_cast<double>(std::int64_t{marks.Marks.back().Index} - marks.Marks.front().Index);
  return kSecondsPerMinute * (m - 1) / (span * period);
}

RecordingVerdict JudgeRecording(std::span<const std::int32_t> samples, double period,
                                MarkTable& marks) {
  RecordingVerdict v;
  marks = MarkBeats(samples);
  v.rejected = AcceptMarks(marks, period);
  if (!PlausibleSamplePeriod(period)) {
    v.implausible = Implausible::Period;
    return v;
  }
  if (samples.empty()) {
    v.implausible = Implausible::Samples;
    return v;
  }
  if (v.rejected != Rejection::None) return v;
  v.pulse = MarkedPulse(marks, period);
  if (!(v.pulse >= kMinPlausiblePulse && v.pulse <= kMaxPlausiblePulse))
    v.implausible = Implausible::Pulse;
  return v;
}

const char* ImplausibleName(Implausible reason) {
  switch (reason) {
    case Implausible::None:
      return nullptr;
    case Implausible::Period:
      return "period";
    case Implausible::Samples:
      return "samples";
    case Implausible::Pulse:
      return "pulse";
  }
  return nullptr;
}

std::string ImplausibleText(const RecordingVerdict& verdict, double period, char sep) {
  switch (verdict.implausible) {
    case Implausible::None:
      return {};
    case Implausible::Period:
      return "Это не запись пульса: шаг отсчётов " + FormatGeneral(period, 3, 0, sep) +
             " с вне допустимых " + FormatGeneral(kMinSamplePeriod, 1, 0, sep) + " - " +
             FormatGeneral(kMaxSamplePeriod, 1, 0, sep) + " с";
    case Implausible::Samples:
      return "Это не запись пульса: в записи нет отсчётов";
    case Implausible::Pulse:
      return "Это не запись пульса: пульс " + FormatGeneral(verdict.pulse, 3, 0, sep) +
             " уд/мин вне допустимых " + FormatGeneral(kMinPlausiblePulse, 3, 0, sep) + " - " +
             FormatGeneral(kMaxPlausiblePulse, 3, 0, sep);
  }
  return {};
}

}  // namespace sfigmo
