#include "analysis/record_report.h"

#include <algorithm>
#include <string_view>

#include "analysis/record_judgement.h"
#include "analysis/result_validity.h"
#include "common/format_general.h"
#include "record/short_string.h"

namespace sfigmo {
namespace {

void FillConclusion(RecordReport& r) {
  r.DamagedFields = DamagedResultNames(r.Results);
  if (!r.DamagedFields.empty()) return;  // no verdict from damaged values
  // After a completed calculation the working results and the record's
  // block hold the same values; with --stored both are the stored block.
  r.HasConclusion = true;
  r.Toso = TOSO(r.Results);
  r.Verdicts = ConclusionVerdicts(r.Results);
  r.Score = ConclusionScore(r.Results);
  r.Pressure = PressureEstimate(r.Results, r.Results.MeanInterval);
  r.Advice = AdviceNeeded(r.Score, r.Pressure);
}

}  // namespace

std::string_view RecordReport::RejectedBy() const {
  if (Verdict.implausible != Implausible::None) return ImplausibleName(Verdict.implausible);
  return Label(Rejected).word;
}

bool HasResult(const RecordReport& report, const AnalysisResultField& field) {
  // A stored block beside a recording that is not accepted came from no
  // analysis of these samples: none of its numbers is shown.
  if (report.FromStoredBlock) return report.Accepted();
  return report.Calculated && ResultWritten(report.Stop, field.Member);
}

bool ResultDamaged(const RecordReport& report, const AnalysisResultField& field) {
  const auto& names = report.DamagedFields;
  return std::find(names.begin(), names.end(), field.Name) != names.end();
}

CalcStop CalculateRecord(const PulsogramRecord& record, const MarkTable& marks, double samplePeriod,
                         AnalysisResults& results) {
  const std::span<const std::int32_t> samples(record.Samples,
                                              static_cast<std::size_t>(UsableSampleCount(record)));
  return ComputeAll(samples, marks, samplePeriod, results);
}

void StoreResults(PulsogramRecord& record, const AnalysisResults& results) {
  record.Results = results;
  record.Results.Reserved = 0.0;
}

RecordReport AnalyseRecord(const PulsogramRecord& record, bool useStoredBlock) {
  RecordReport r;
  r.Header = {{"DateText", GetShortString(record.DateText)},
              {"TimeText", GetShortString(record.TimeText)},
              {"PatientName", GetShortString(record.PatientName)},
              {"PatientAge", GetShortString(record.PatientAge)},
              {"PatientSex", GetShortString(record.PatientSex)},
              {"GeneralInfo", GetShortString(record.GeneralInfo)}};
  r.Gain = record.Gain;
  r.SamplePeriod = record.SamplePeriod;
  r.StoredSampleCount = record.SampleCount;
  r.UsedSampleCount = UsableSampleCount(record);

  RecordJudgement judgement = JudgeRecord(record);
  r.Marks = std::move(judgement.Marks);
  r.Verdict = judgement.Verdict;
  r.Rejected = r.Verdict.rejected;
  r.HasQuality = judgement.HasQuality;
  r.Quality = std::move(judgement.Quality);
  r.Rhythm = judgement.Rhythm;

  if (useStoredBlock) {
    r.FromStoredBlock = true;
    r.Results = record.Results;
    // The same rule as every other reader of a stored block.
    if (judgement.Accepted()) FillConclusion(r);
  } else if (r.Accepted()) {
    // Like the program: a rejected recording is not calculated at all.
    r.Calculated = true;
    r.Stop = CalculateRecord(record, r.Marks, record.SamplePeriod, r.Results);
    if (r.Stop == CalcStop::Completed) FillConclusion(r);
  }
  return r;
}

}  // namespace sfigmo
