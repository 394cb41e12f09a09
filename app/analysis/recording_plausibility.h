#pragma once
// Whether a recording can be a finger pulse recording at all, beyond the
// acceptance test of the marks: a time base a sensor can produce, and a
// pulse a person can have. A damaged file or a sensor run at a rate the
// analysis was never meant for would otherwise turn into verdicts such as
// "ВЫСОКИЙ ПУЛЬС - INF". Pure functions; any thread.

#include <cstdint>
#include <span>
#include <string>

#include "analysis/beat_marking.h"

namespace sfigmo {

// Seconds per sample a pulse recording may have, both ends included.
inline constexpr double kMinSamplePeriod = 0.0005;
inline constexpr double kMaxSamplePeriod = 0.5;
// Beats per minute a pulse recording may show, both ends included.
inline constexpr double kMinPlausiblePulse = 20.0;
inline constexpr double kMaxPlausiblePulse = 300.0;

// Samples: the record holds none, so nothing of it was measured.
enum class Implausible { None, Period, Samples, Pulse };

bool PlausibleSamplePeriod(double period);

// Beats per minute of the marks: 60 / (mean interval in seconds), as the
// calculation takes PULS. NaN with fewer than two marks.
double MarkedPulse(const MarkTable& marks, double period);

// The verdict on one recording: the acceptance test of the marks and, beside
// it, whether the recording is plausible. An implausible period is reported
// whatever the marks; the pulse is judged only for accepted marks.
struct RecordingVerdict {
  Rejection rejected = Rejection::None;
  Implausible implausible = Implausible::None;
  double pulse = 0.0;  // MarkedPulse, when the pulse was judged
  bool accepted() const { return rejected == Rejection::None && implausible == Implausible::None; }
};

// Marks `samples` into `marks` (replacing the table) and judges them with
// `period`, so every caller runs the same rule. Stored records are judged
// through JudgeRecord (record_judgement.h), which adds their results.
RecordingVerdict JudgeRecording(std::span<const std::int32_t> samples, double period,
                                MarkTable& marks);

// Machine name: "period", "samples", "pulse"; nullptr for None.
const char* ImplausibleName(Implausible reason);

// Why the recording is not a pulse recording, in Russian, numbers with
// `decimalSeparator`; empty for a plausible one.
std::string ImplausibleText(const RecordingVerdict& verdict, double period, char decimalSeparator);

}  // namespace sfigmo
