#include "analysis/conclusion_rules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "analysis/indices.h"
#include "common/format_general.h"
#include "results_fixtures.h"

namespace sfigmo {
namespace {

using test::HealthyResults;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

std::vector<std::string> Texts(const std::vector<VerdictLine>& lines) {
  std::vector<std::string> out;
  for (const VerdictLine& l : lines) out.push_back(l.Text);
  return out;
}

TEST(ConclusionVerdicts, HealthyMeasurementGivesFourGreenLinesInDrawingOrder) {
  const std::vector<VerdictLine> lines = ConclusionVerdicts(HealthyResults());
  EXPECT_EQ(Texts(lines),
            (std::vector<std::string>{"ЧАСТОТА ПУЛЬСА В НОРМЕ -", "ПЕРЕБОИ НЕ ОБНАРУЖЕНЫ",
                                      "СИНУСОВЫЙ РИТМ НЕ НАРУШЕН", "НАГРУЗКА МИОКАРДА В НОРМЕ"}));
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].Y, 90);
  EXPECT_EQ(lines[1].Y, 60);
  EXPECT_EQ(lines[2].Y, 120);
  EXPECT_EQ(lines[3].Y, 150);
  for (const VerdictLine& l : lines) EXPECT_EQ(l.Colour, VerdictColour::Green) << l.Text;
  EXPECT_EQ(lines[0].Value, 72.0);
  EXPECT_EQ(lines[0].ValueX, 325);
  EXPECT_FALSE(lines[1].Value.has_value());
  EXPECT_EQ(ConclusionScore(HealthyResults()), 100);
}

TEST(ConclusionVerdicts, PulseRateRowsAndTheirBoundaries) {
  struct Row {
    double puls;
    const char* text;
    VerdictColour colour;
    int valueX;
    int score;
  };
  for (const Row& row : {
           Row{70, "ЧАСТОТА ПУЛЬСА В НОРМЕ -", VerdictColour::Green, 325, 100},
           Row{80, "ЧАСТОТА ПУЛЬСА В НОРМЕ -", VerdictColour::Green, 325, 100},
           Row{69.99, "ПУЛЬС  ПОНИЖЕН -", VerdictColour::Blue, 260, 100},
           Row{55, "ПУЛЬС  ПОНИЖЕН -", VerdictColour::Blue, 260, 100},
           Row{54.99, "НИЗКИЙ   ПУЛЬС -", VerdictColour::Red, 260, 65},
           Row{80.01, "ПУЛЬС  ПОВЫШЕН -", VerdictColour::Blue, 260, 80},
           Row{90, "ПУЛЬС  ПОВЫШЕН -", VerdictColour::Blue, 260, 80},
           Row{90.01, "ВЫСОКИЙ  ПУЛЬС -", VerdictColour::Red, 260, 65},
           Row{-kInf, "НИЗКИЙ   ПУЛЬС -", VerdictColour::Red, 260, 65},
           Row{kInf, "ВЫСОКИЙ  ПУЛЬС -", VerdictColour::Red, 260, 65},
       }) {
    AnalysisResults r = HealthyResults();
    r.PULS = row.puls;
    const std::optional<VerdictLine> line = PulseRateLine(row.puls);
    ASSERT_TRUE(line) << row.puls;
    EXPECT_EQ(line->Text, row.text) << row.puls;
    EXPECT_EQ(line->Colour, row.colour) << row.puls;
    EXPECT_EQ(line->ValueX, row.valueX) << row.puls;
    EXPECT_EQ(line->Y, 90);
    EXPECT_EQ(ConclusionScore(r), row.score) << row.puls;
  }
}

TEST(ConclusionVerdicts, VariationRangeDrivesHardPulseRhythmAndScore) {
  AnalysisResults r = HealthyResults();
  r.VRKI = 0.039;
  std::vector<VerdictLine> lines = ConclusionVerdicts(r);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0].Text, "ПУЛЬС ЖЕСТКИЙ");
  EXPECT_EQ(lines[0].Y, 30);
  EXPECT_EQ(lines[0].Colour, VerdictColour::Blue);
  EXPECT_EQ(lines[3].Text, "СИНУСОВЫЙ РИТМ НЕ НАРУШЕН");
  EXPECT_EQ(ConclusionScore(r), 60);

  r.VRKI = 0.04;
  EXPECT_EQ(ConclusionVerdicts(r).size(), 4u);
  EXPECT_EQ(ConclusionScore(r), 100);

  r.VRKI = 0.16;  // still in the score's band, but the rhythm line says disturbed
  lines = ConclusionVerdicts(r);
  EXPECT_EQ(lines[2].Text, "НАРУШЕН СИНУСОВЫЙ РИТМ");
  EXPECT_EQ(lines[2].Colour, VerdictColour::Red);
  EXPECT_EQ(ConclusionScore(r), 100);

  r.VRKI = 0.1600001;
  EXPECT_EQ(ConclusionScore(r), 60);
}

TEST(ConclusionVerdicts, AnyPauseOrExtrasystoleIsAnInterruption) {
  for (auto [kolp, kole] : {std::pair{1.0, 0.0}, {0.0, 1.0}, {2.0, 3.0}}) {
    AnalysisResults r = HealthyResults();
    r.KOLP = kolp;
    r.KOLE = kole;
    const VerdictLine line = ConclusionVerdicts(r)[1];
    EXPECT_EQ(line.Text, "ОБНАРУЖЕНЫ ПЕРЕБОИ");
    EXPECT_EQ(line.Colour, VerdictColour::Red);
    EXPECT_EQ(ConclusionScore(r), 70);
  }
}

TEST(ConclusionVerdicts, LoadLineIsMilderThanTheScoresLoadTest) {
  AnalysisResults r = HealthyResults();
  r.NAGR = 0.105;
  EXPECT_EQ(ConclusionVerdicts(r).back().Text, "НАГРУЗКА МИОКАРДА В НОРМЕ");
  EXPECT_EQ(ConclusionScore(r), 60);

  r.NAGR = 0.11;
  r.DescentTime = 0.12;
  EXPECT_TRUE(LoadInNorm(r.DescentTime, r.NAGR));
  r.DescentTime = 0.13;
  const VerdictLine weak = ConclusionVerdicts(r).back();
  EXPECT_EQ(weak.Text, "СЕРДЕЧНАЯ  МЫШЦА ОСЛАБЛЕНА");
  EXPECT_EQ(weak.Colour, VerdictColour::Blue);

  r = HealthyResults();
  r.DescentTime = 0.12;  // in the line's norm, not below the score's 0.12
  EXPECT_EQ(ConclusionScore(r), 60);
}

TEST(ConclusionScore, RunsFromMinusFortyFiveToHundred) {
  AnalysisResults worst = HealthyResults();
  worst.PULS = 120;
  worst.KOLP = 1;
  worst.VRKI = 0.3;
  worst.NAGR = 0.2;
  EXPECT_EQ(ConclusionScore(worst), -45);

  // A raised pulse with one extrasystole: 20 - 30 before the last two steps,
  // so the advice is needed whatever the estimate.
  AnalysisResults raised = HealthyResults();
  raised.PULS = 85;
  raised.KOLE = 1;
  EXPECT_EQ(ConclusionScore(raised), 50);
  EXPECT_TRUE(AdviceNeeded(ConclusionScore(raised), 125.0));
}

TEST(ConclusionRules, DamagedValuesGiveTheCautiousAnswer) {
  AnalysisResults r;
  double* fields = &r.NAGR;
  for (int i = 0; i < 23; ++i) fields[i] = kNaN;
  const std::vector<VerdictLine> lines = ConclusionVerdicts(r);
  // No pulse-rate row holds for NaN: the line is left out, the rest warn.
  EXPECT_EQ(Texts(lines), (std::vector<std::string>{"ОБНАРУЖЕНЫ ПЕРЕБОИ", "НАРУШЕН СИНУСОВЫЙ РИТМ",
                                                    "СЕРДЕЧНАЯ  МЫШЦА ОСЛАБЛЕНА"}));
  EXPECT_EQ(ConclusionScore(r), 5 - 30 - 10 - 10);
  EXPECT_TRUE(std::isnan(PressureEstimate(r, kNaN)));
  EXPECT_TRUE(AdviceNeeded(100, kNaN));
  EXPECT_TRUE(AdviceNeeded(100, kInf));
  EXPECT_TRUE(AdviceNeeded(100, -kInf));
  EXPECT_TRUE(AdviceNeeded(100, 1e300));
  EXPECT_TRUE(AdviceNeeded(100, -1e300));

  AnalysisResults healthyButNaNRate = HealthyResults();
  healthyButNaNRate.PULS = kNaN;
  EXPECT_EQ(ConclusionScore(healthyButNaNRate), 65);
}

TEST(PressureEstimate, FirstFormulaAboveSeventySixSecondOtherwise) {
  AnalysisResults record;
  record.DescentTime = 0.06;
  record.NAGR = 0.09;
  record.RiseTime = 0.1;
  record.SPSO = 0.07;
  record.MeanInterval = 99;  // the working mean interval is what counts

  record.PULS = 77;
  EXPECT_NEAR(PressureEstimate(record, 0.8), 770 * 0.17, 1e-9);
  record.PULS = 76;  // t = 18.75: (9.3 t - 94 + 760 (R + S)) / 2
  EXPECT_NEAR(PressureEstimate(record, 0.8), (9.3 * 18.75 - 94 + 760 * 0.17) / 2, 1e-9);
  record.PULS = 60;  // (16² / 5 + 60) × 1.7 = 189.04
  EXPECT_NEAR(PressureEstimate(record, 0.8), (174.375 - 94 + 189.04) / 2, 1e-9);
}

TEST(AdviceNeeded, ScoreAtMostSeventyOrEstimateRoundedOutsideHundredElevenToThirtyNine) {
  EXPECT_TRUE(AdviceNeeded(70, 125));
  EXPECT_FALSE(AdviceNeeded(71, 125));
  EXPECT_TRUE(AdviceNeeded(100, 110.5));   // rounds to 110
  EXPECT_FALSE(AdviceNeeded(100, 111.5));  // rounds to 112
  EXPECT_FALSE(AdviceNeeded(100, 110.51));
  EXPECT_FALSE(AdviceNeeded(100, 139.4));
  EXPECT_FALSE(AdviceNeeded(100, 138.5));  // rounds to 138
  EXPECT_TRUE(AdviceNeeded(100, 139.5));   // rounds to 140
}

TEST(ConclusionRules, ValuesAreShownAsTheScreensFormatThem) {
  // The pulse rate of the rhythm example and the vascular tone of a record.
  EXPECT_EQ(FormatGeneral(60 / 0.88, 4, 2, ','), "68,18");
  EXPECT_EQ(FormatGeneral(TOSO(0.09, 0.06, 0.8), 5, 2, ','), "18,75");
  EXPECT_EQ(FormatGeneral(72.46, 3, 2, ','), "72,5");
}

}  // namespace
}  // namespace sfigmo
