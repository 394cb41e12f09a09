// The one judgement of a stored record: the hostile records are refused
// with their reason (the paths that ask it are tested with the same table
// where they live); quality is judged only when asked for.

#include "analysis/record_judgement.h"

#include <gtest/gtest.h>

#include "hostile_records.h"

namespace sfigmo {
namespace {

TEST(RecordJudgement, HostileRecordsAreRefusedWithTheirReason) {
  for (const test::HostileRecord& h : test::HostileRecords()) {
    SCOPED_TRACE(h.Name);
    const RecordJudgement j = JudgeRecord(*h.Record);
    EXPECT_FALSE(j.ResultsUsable());
    EXPECT_TRUE(j.ResultsSound());  // the block itself is healthy
    EXPECT_EQ(j.NotPulseRecording(), h.NotPulseRecording);
    EXPECT_EQ(j.RejectedBy(), h.RejectedBy);
    EXPECT_FALSE(j.RejectionText(h.Record->SamplePeriod, ',').empty());
  }
  EXPECT_TRUE(JudgeRecord(*test::HealthyRecording()).ResultsUsable());
  EXPECT_TRUE(JudgeRecord(*test::DoubleCountedRecording()).Doubtful());
  EXPECT_FALSE(JudgeRecord(*test::DoubleCountedRecording(), QualityCheck::Skip).Doubtful());
}

}  // namespace
}  // namespace sfigmo
