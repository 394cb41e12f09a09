// The one judgement of a stored record, and the tools' analysis that asks
// it: the hostile records are not accepted, say why, and give no stored
// number or conclusion; the intact and the double-counted recordings pass
// with their signal quality.

#include "analysis/record_judgement.h"

#include <gtest/gtest.h>

#include "analysis/record_report.h"
#include "hostile_records.h"
#include "storage/analysis_result_fields.h"

namespace sfigmo {
namespace {

TEST(RecordJudgement, HostileRecordsAreRefusedAndTheirStoredBlockGivesNothing) {
  for (const test::HostileRecord& h : test::HostileRecords()) {
    SCOPED_TRACE(h.Name);
    const RecordJudgement j = JudgeRecord(*h.Record);
    EXPECT_FALSE(j.Accepted());
    EXPECT_FALSE(j.ResultsUsable());
    EXPECT_TRUE(j.ResultsSound());  // the block itself is healthy
    EXPECT_EQ(j.NotPulseRecording(), h.NotPulseRecording);
    EXPECT_EQ(j.RejectedBy(), h.RejectedBy);
    EXPECT_FALSE(j.RejectionText(h.Record->SamplePeriod, ',').empty());

    const RecordReport stored = AnalyseRecord(*h.Record, true);
    EXPECT_FALSE(stored.HasConclusion);
    EXPECT_EQ(stored.RejectedBy(), h.RejectedBy);
    for (const AnalysisResultField& f : kAnalysisResultFields)
      EXPECT_FALSE(HasResult(stored, f)) << f.Name;
  }
  const auto healthy = test::HealthyRecording();
  const RecordJudgement good = JudgeRecord(*healthy);
  EXPECT_TRUE(good.ResultsUsable());
  EXPECT_TRUE(good.HasQuality);
  EXPECT_FALSE(good.Doubtful());
  EXPECT_EQ(AnalyseRecord(*healthy, true).Score, 100);

  const RecordJudgement doubled = JudgeRecord(*test::DoubleCountedRecording());
  EXPECT_TRUE(doubled.ResultsUsable());
  EXPECT_TRUE(doubled.Doubtful());
  // Without the quality check nothing is doubtful, the rest is the same.
  const RecordJudgement quick = JudgeRecord(*test::DoubleCountedRecording(), QualityCheck::Skip);
  EXPECT_FALSE(quick.Doubtful());
  EXPECT_EQ(quick.Marks.count(), doubled.Marks.count());
}

}  // namespace
}  // namespace sfigmo
