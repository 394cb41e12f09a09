#pragma once
// The analysis of one stored record as the tools run it: the record's
// judgement (record_judgement.h), the calculation (or the stored result
// block) and the conclusion's rules, gathered once; sfigmo-analyze prints it
// as text or JSON, sfigmo-export annotates EDF files with it. No Qt here, so
// the fuzzer runs the same path.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/beat_marking.h"
#include "analysis/conclusion_rules.h"
#include "analysis/indices.h"
#include "analysis/recording_plausibility.h"
#include "analysis/rhythm_reading.h"
#include "analysis/signal_quality.h"
#include "record/analysis_result_fields.h"
#include "record/pulsogram_record.h"

namespace sfigmo {

struct RecordReport {
  // Header, UTF-8, in record order: DateText .. GeneralInfo.
  std::vector<std::pair<const char*, std::string>> Header;
  std::int32_t Gain = 0;
  double SamplePeriod = 0.0;
  int StoredSampleCount = 0;  // as the file says
  int UsedSampleCount = 0;    // limited to the room the record has

  MarkTable Marks;
  Rejection Rejected = Rejection::None;
  // Beside the acceptance test: not a pulse recording at all.
  RecordingVerdict Verdict;
  bool Accepted() const { return Verdict.accepted(); }
  // The reason word of a rejection ("period", "beats", ...); empty when accepted.
  std::string_view RejectedBy() const;
  // Whether the marks fit the wave; judged for accepted recordings only.
  bool HasQuality = false;
  SignalQuality Quality;
  // The rhythm reading; judged for accepted recordings only.
  std::optional<RhythmReading> Rhythm;

  // Results come from the stored block (--stored) or from a calculation that
  // ran only on an accepted marking; Stop says where that calculation ended.
  bool FromStoredBlock = false;
  bool Calculated = false;
  CalcStop Stop = CalcStop::Completed;
  AnalysisResults Results;

  // Fields of a full set of results that no plausible recording gives; when
  // any is, they are shown as "-" and there is no conclusion.
  std::vector<std::string> DamagedFields;

  // The conclusion, present when a full set of sound results is at hand.
  bool HasConclusion = false;
  double Toso = 0.0;
  std::vector<VerdictLine> Verdicts;
  int Score = 0;
  double Pressure = 0.0;
  bool Advice = false;
};

// The chain has three steps, which the main window takes one at a time, as
// the user presses its buttons, and AnalyseRecord takes at once:
//  1. JudgeRecord (record_judgement.h): the marks, acceptance, quality;
//  2. CalculateRecord: the indices from those marks;
//  3. the conclusion's rules (conclusion_rules.h) over the results.
RecordReport AnalyseRecord(const PulsogramRecord& record, bool useStoredBlock);

// Step 2: the indices of the record's usable samples from `marks`, with
// seconds per sample `samplePeriod`. Where it stops, `results` holds what was
// written before (see ResultWritten).
CalcStop CalculateRecord(const PulsogramRecord& record, const MarkTable& marks, double samplePeriod,
                         AnalysisResults& results);

// Writes a completed calculation's results into the record's block, as a
// saved record holds them (the reserved field zero).
void StoreResults(PulsogramRecord& record, const AnalysisResults& results);

// Whether the report holds a value for the field (stored, or written by the
// calculation before it stopped).
bool HasResult(const RecordReport& report, const AnalysisResultField& field);

// Whether the report's value of the field is damaged (shown as "-").
bool ResultDamaged(const RecordReport& report, const AnalysisResultField& field);

}  // namespace sfigmo
