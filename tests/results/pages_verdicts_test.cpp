// The five tab verdicts at the boundaries of their rules, with colours and
// the value appended as a Russian user reads it.
#include "results/pages_verdicts.h"

#include <gtest/gtest.h>

#include <limits>

namespace sfigmo {
namespace {

AnalysisResults Normal() {
  AnalysisResults r;
  r.PULS = 72;
  r.VRKI = 0.1;
  r.DescentTime = 0.08;
  r.NAGR = 0.09;
  r.MeanInterval = 0.8;
  return r;
}

PagesVerdict Tab(const AnalysisResults& working, PagesTab tab, char sep = ',') {
  return PagesVerdicts(working, working, sep)[tab];
}

TEST(PagesVerdicts, PulseBandsIncludeTheirStatedEdges) {
  struct Case {
    double puls;
    std::string text;
    VerdictColour colour;
  };
  const Case cases[] = {
      {70, "ЧАСТОТА ПУЛЬСА В НОРМЕ -70", VerdictColour::Green},
      {80, "ЧАСТОТА ПУЛЬСА В НОРМЕ -80", VerdictColour::Green},
      {72.46, "ЧАСТОТА ПУЛЬСА В НОРМЕ -72,5", VerdictColour::Green},
      {55, "ПУЛЬС  ПОНИЖЕН -55", VerdictColour::Blue},
      {69.9, "ПУЛЬС  ПОНИЖЕН -69,9", VerdictColour::Blue},
      {54.9, "НИЗКИЙ   ПУЛЬС -54,9", VerdictColour::Red},
      {90, "ПУЛЬС  ПОВЫШЕН -90", VerdictColour::Blue},
      {80.01, "ПУЛЬС  ПОВЫШЕН -80", VerdictColour::Blue},
      {105, "ВЫСОКИЙ  ПУЛЬС -105", VerdictColour::Red},
  };
  for (const Case& c : cases) {
    AnalysisResults r = Normal();
    r.PULS = c.puls;
    const PagesVerdict v = Tab(r, kPulseTab);
    EXPECT_EQ(v.Text, c.text) << c.puls;
    EXPECT_EQ(v.Colour, c.colour) << c.puls;
  }
}

TEST(PagesVerdicts, RhythmInterruptionsAndHeart) {
  AnalysisResults r = Normal();
  EXPECT_EQ(Tab(r, kRhythmTab).Text, "СИНУСОВЫЙ РИТМ НЕ НАРУШЕН");
  EXPECT_EQ(Tab(r, kInterruptionTab).Text, "ПЕРЕБОИ НЕ ОБНАРУЖЕНЫ");
  EXPECT_EQ(Tab(r, kInterruptionTab).Colour, VerdictColour::Green);
  EXPECT_EQ(Tab(r, kHeartTab).Text, "СОКРАЩЕНИЕ  МЫШЦЫ В НОРМЕ - 0,09");
  EXPECT_EQ(Tab(r, kHeartTab).Colour, VerdictColour::Green);

  r.VRKI = 0.16;
  EXPECT_EQ(Tab(r, kRhythmTab).Text, "НАРУШЕН СИНУСОВЫЙ РИТМ");
  EXPECT_EQ(Tab(r, kRhythmTab).Colour, VerdictColour::Red);

  r.KOLP = 1;  // one pause, no extrasystole
  EXPECT_EQ(Tab(r, kInterruptionTab).Text, "ОБНАРУЖЕНЫ ПЕРЕБОИ");
  EXPECT_EQ(Tab(r, kInterruptionTab).Colour, VerdictColour::Red);

  r.NAGR = 0.11;
  EXPECT_EQ(Tab(r, kHeartTab).Colour, VerdictColour::Green);  // 0.11 is still the norm
  r.DescentTime = 0.13;
  EXPECT_EQ(Tab(r, kHeartTab).Text, "СЕРДЕЧНАЯ  МЫШЦА ОСЛАБЛЕНА - 0,11");
  EXPECT_EQ(Tab(r, kHeartTab).Colour, VerdictColour::Blue);
}

TEST(PagesVerdicts, HeartAndToneValuesComeFromTheRecordsBlock) {
  const AnalysisResults working = Normal();
  AnalysisResults stored = Normal();
  stored.NAGR = 0.1;
  stored.DescentTime = 0.1;  // tone (0.1 + 0.1) * 100 / 0.8 = 25
  const auto v = PagesVerdicts(working, stored, ',');
  EXPECT_EQ(v[kHeartTab].Text, "СОКРАЩЕНИЕ  МЫШЦЫ В НОРМЕ - 0,1");
  EXPECT_EQ(v[kVesselTab].Text, "ТОНУС СОСУДОВ - 25");
  EXPECT_EQ(v[kVesselTab].Colour, VerdictColour::Green);
  EXPECT_EQ(Tab(working, kVesselTab, '.').Text, "ТОНУС СОСУДОВ - 21.3");
}

TEST(PagesVerdicts, NoMeanIntervalShowsADashForTheTone) {
  AnalysisResults r = Normal();
  r.MeanInterval = 0;
  EXPECT_EQ(Tab(r, kVesselTab).Text, "ТОНУС СОСУДОВ - -");
  r.PULS = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(Tab(r, kPulseTab).Colour, VerdictColour::Red);
}

}  // namespace
}  // namespace sfigmo
