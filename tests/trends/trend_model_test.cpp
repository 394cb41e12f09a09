#include "trends/trend_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "hostile_records.h"
#include "record_builder.h"

namespace sfigmo {
namespace {

TEST(TrendRange, ClicksAndListingGiveTheRange) {
  TrendRangeRule rule;
  rule.listed();
  rule.clicked(0);  // the first half of a double click on the first entry
  EXPECT_EQ(rule.rangeStart(), 1);
  EXPECT_EQ(CheckTrendRange(rule.rangeStart(), 0), RangeCheck::Empty);

  rule.listed();
  rule.clicked(3);
  rule.clicked(4);
  EXPECT_EQ(rule.rangeStart(), 3);
  EXPECT_EQ(CheckTrendRange(3, 4), RangeCheck::Draw);
  EXPECT_EQ(CheckTrendRange(4, 4), RangeCheck::Empty);
  EXPECT_EQ(CheckTrendRange(0, 300), RangeCheck::Draw);
  EXPECT_EQ(CheckTrendRange(1, 301), RangeCheck::TooLong);
  EXPECT_EQ(CheckTrendRange(-1, 3), RangeCheck::Empty);
}

TEST(TrendRange, StepRoundsHalfToEven) {
  EXPECT_EQ(TrendStep(3, 4), 500);
  EXPECT_EQ(TrendStep(0, 3), 167);
  EXPECT_EQ(TrendStep(0, 8), 62);  // 62.5
  EXPECT_EQ(TrendStep(0, 300), 2);
  EXPECT_EQ(kTrendLeft + 3 * TrendStep(0, 3), 521);
}

TEST(TrendCurves, YCoordinatesAndReadOut) {
  AnalysisResults r;
  r.PULS = 72;
  r.VRKI = 0.125;  // 62.5 rounds to the even 62
  r.SPSO = 0.1;
  r.NAGR = 0.05;
  const TrendYs ys = TrendCurveYs(r);
  EXPECT_EQ(ys, (TrendYs{128, 138, 90, 100}));
  const auto texts = TrendReadoutTexts(ys, ',');
  EXPECT_EQ(texts[0], "72");
  EXPECT_EQ(texts[1], "0,124");
  EXPECT_EQ(texts[2], "0,1");
  EXPECT_EQ(texts[3], "0,05");
}

TEST(TrendCurves, DamagedValuesStayFinite) {
  AnalysisResults r;
  r.PULS = std::numeric_limits<double>::quiet_NaN();
  r.VRKI = std::numeric_limits<double>::infinity();
  r.SPSO = -1e300;
  r.NAGR = 1e300;
  for (int y : TrendCurveYs(r)) EXPECT_LE(std::abs(y), 200000);
}

TEST(TrendCurves, DamagedRecordIsLeftOutAndReadsAsDashes) {
  struct Case {
    double AnalysisResults::*member;
    double value;
  } cases[] = {{&AnalysisResults::PULS, std::numeric_limits<double>::quiet_NaN()},
               {&AnalysisResults::PULS, -100000},
               {&AnalysisResults::VRKI, std::numeric_limits<double>::infinity()},
               {&AnalysisResults::NAGR, -0.5}};
  for (const Case& c : cases) {
    AnalysisResults r;
    r.PULS = 72;
    r.*c.member = c.value;
    const auto point =
        TrendPointYs(*test::RecordBuilder().Wave(NormalRestingWave()).Results(r).Build());
    EXPECT_FALSE(point);
    for (const std::string& text : TrendReadoutTexts(point, ',')) EXPECT_EQ(text, "-");
  }
  AnalysisResults sound;
  sound.PULS = 72;
  const auto record = test::RecordBuilder().Wave(NormalRestingWave()).Results(sound).Build();
  ASSERT_TRUE(TrendPointYs(*record));
  EXPECT_EQ(TrendReadoutTexts(TrendPointYs(*record), ',')[0], "72");
}

TEST(TrendCurves, RecordsNotAcceptedAreLeftOutWhateverTheirBlock) {
  for (const test::HostileRecord& h : test::HostileRecords()) {
    const auto point = TrendPointYs(*h.Record);
    EXPECT_FALSE(point) << h.Name;
    EXPECT_EQ(TrendReadoutTexts(point, ',')[0], "-") << h.Name;
  }
  EXPECT_EQ(TrendReadoutTexts(TrendPointYs(*test::HealthyRecording()), ',')[0], "72");
}

TEST(TrendReadout, OffsetStaysInsideTheDrawnRange) {
  EXPECT_FALSE(TrendReadoutOffset(20, 3, 4));
  EXPECT_FALSE(TrendReadoutOffset(520, 3, 4));
  EXPECT_EQ(TrendReadoutOffset(21, 3, 4), 0);
  EXPECT_EQ(TrendReadoutOffset(270, 3, 4), 0);  // 0.5 rounds to the even 0
  EXPECT_EQ(TrendReadoutOffset(519, 3, 4), 1);
  EXPECT_FALSE(TrendReadoutOffset(100, 4, 4));
  EXPECT_FALSE(TrendReadoutOffset(100, 1, 301));
  // 300 intervals of step 2 end at x 620: the pointer near 520 is at k 250.
  EXPECT_EQ(TrendReadoutOffset(519, 0, 300), 250);
  // 200 intervals, step 2 (2.5 to even): k never passes the range end.
  EXPECT_EQ(TrendReadoutOffset(519, 100, 300), 200);
}

// Whatever the range, each point drawn (at or before the axis end) is the
// read-out of some pointer position inside the axis.
TEST(TrendReadout, EveryDrawnPointHasAReadOut) {
  for (int span = 1; span <= kTrendLastPosition; ++span) {
    const int step = TrendStep(0, span);
    std::vector<bool> read(span + 1, false);
    for (int x = kTrendLeft + 1; x < kTrendRight; ++x)
      if (const auto k = TrendReadoutOffset(x, 0, span)) read[*k] = true;
    for (int i = 0; i <= span && kTrendLeft + i * step <= kTrendRight; ++i)
      EXPECT_TRUE(read[i]) << "span " << span << ", point " << i;
  }
  EXPECT_EQ(TrendClippedY(518, 100, 522, 120, 520), 110);
  EXPECT_EQ(TrendClippedY(354, 100, 521, 200, 520), 199);
}

}  // namespace
}  // namespace sfigmo
