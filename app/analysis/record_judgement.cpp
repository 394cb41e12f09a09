#include "analysis/record_judgement.h"

#include <span>

#include "analysis/result_validity.h"
#include "analysis/rhythm_reading.h"
#include "analysis/signal_quality.h"

namespace sfigmo {

std::string_view RecordJudgement::RejectedBy() const {
  if (Verdict.implausible != Implausible::None) return ImplausibleName(Verdict.implausible);
  return Label(Verdict.rejected).word;
}

std::string RecordJudgement::RejectionText(double samplePeriod, char sep) const {
  if (Verdict.implausible != Implausible::None) return ImplausibleText(Verdict, samplePeriod, sep);
  return std::string(Label(Verdict.rejected).text);
}

RecordJudgement JudgeRecord(const PulsogramRecord& record, QualityCheck quality) {
  RecordJudgement j;
  const std::span<const std::int32_t> samples(record.Samples,
                                              static_cast<std::size_t>(UsableSampleCount(record)));
  j.Verdict = JudgeRecording(samples, record.SamplePeriod, j.Marks);
  j.DamagedFields = DamagedResultNames(record.Results);
  if (quality == QualityCheck::Assess && j.Accepted()) {
    j.HasQuality = true;
    j.Quality = AssessSignalQuality(samples, j.Marks, record.SamplePeriod);
    j.Rhythm = ReadRhythm(j.Marks);
  }
  return j;
}

std::string WarningLine(const RecordJudgement& judgement) {
  if (judgement.Doubtful()) {
    return std::string(SignalWarningText()) + " (" + QualityReasonText(judgement.Quality) + ")";
  }
  if (judgement.Accepted() && judgement.Rhythm == RhythmReading::Irregular) {
    return IrregularRhythmText();
  }
  return {};
}

}  // namespace sfigmo
