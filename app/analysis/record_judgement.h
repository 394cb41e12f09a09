#pragma once
// The one judgement of a stored record that every path reading a record
// asks before it turns the record into numbers, verdicts, trend points,
// messages or export rows: whether the marks pass the acceptance test,
// whether the record can be a pulse recording at all (period, samples,
// pulse), whether its stored result block is sound, and whether the signal
// can be trusted. Plain C++; any thread.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/beat_marking.h"
#include "analysis/recording_plausibility.h"
#include "analysis/rhythm_reading.h"
#include "analysis/signal_quality.h"
#include "record/pulsogram_record.h"

namespace sfigmo {

struct RecordJudgement {
  MarkTable Marks;           // of the record's usable samples
  RecordingVerdict Verdict;  // acceptance and plausibility
  // Names of the stored block's damaged fields, in record order.
  std::vector<std::string> DamagedFields;
  // Judged for accepted recordings only, and only when asked for.
  bool HasQuality = false;
  SignalQuality Quality;
  // Read with the quality, from the same marks.
  std::optional<RhythmReading> Rhythm;

  // Not a pulse recording at all: no samples, a time base no sensor has, a
  // pulse no person has. Such a record is never the last measurement and
  // never exported as a wave.
  bool NotPulseRecording() const { return Verdict.implausible != Implausible::None; }
  bool Accepted() const { return Verdict.accepted(); }
  bool ResultsSound() const { return DamagedFields.empty(); }
  // The stored results may become numbers, a conclusion, a trend point or a
  // message.
  bool ResultsUsable() const { return Accepted() && ResultsSound(); }
  bool Doubtful() const { return HasQuality && Quality.doubtful; }
  // Machine word of the first reason the record is not accepted ("period",
  // "samples", "pulse", "beats", ...); empty when accepted.
  std::string_view RejectedBy() const;
  // Why the record is not accepted, in Russian (UTF-8); empty when accepted.
  std::string RejectionText(double samplePeriod, char decimalSeparator) const;
};

enum class QualityCheck { Assess, Skip };

// `Skip` leaves the signal quality and the rhythm reading out (two FFTs): for paths that only need
// to know whether the stored results may be used.
RecordJudgement JudgeRecord(const PulsogramRecord& record,
                            QualityCheck quality = QualityCheck::Assess);

// The judgement's warning as one conclusion line of a report (UTF-8): the
// signal warning with its reason for a doubtful recording, the irregular
// rhythm line for a good one that reads irregular; empty otherwise.
std::string WarningLine(const RecordJudgement& judgement);

}  // namespace sfigmo
