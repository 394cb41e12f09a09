// Which stored result blocks can have come from the analysis: the hostile
// values a damaged or forged record file holds are each caught, by name.

#include "analysis/result_validity.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace sfigmo {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

AnalysisResults Sound() {
  AnalysisResults r;
  r.PULS = 72;
  r.MeanInterval = 60.0 / 72;
  r.MeanIntervalSamples = 41.7;
  r.VRKI = 0.1;
  r.KOVR = 5.3;
  r.SPSO = 0.075;
  r.NAGR = 0.09;
  r.DescentTime = 0.06;
  r.RiseTime = 0.05;
  r.KOLE = 1;
  r.IntervalCount = 12;
  r.MinNormalInterval = 38;
  r.MaxNormalInterval = 43;
  r.SpreadIndex = 12;
  r.IntervalSD = 0.04;
  return r;
}

TEST(ResultValidity, SoundBlocksAndBordersPass) {
  EXPECT_TRUE(DamagedResultNames(Sound()).empty());
  EXPECT_TRUE(DamagedResultNames(AnalysisResults{.PULS = 20}).empty());
  EXPECT_TRUE(DamagedResultNames(AnalysisResults{.PULS = 300}).empty());
  AnalysisResults reserved = Sound();
  reserved.Reserved = std::nan("");  // carries no meaning, never judged
  EXPECT_FALSE(ResultsDamaged(reserved));
}

TEST(ResultValidity, EachHostileValueIsNamed) {
  struct Case {
    double AnalysisResults::*member;
    double value;
    const char* name;
  } cases[] = {
      {&AnalysisResults::PULS, std::nan(""), "PULS"},
      {&AnalysisResults::PULS, kInf, "PULS"},
      {&AnalysisResults::PULS, 2730, "PULS"},  // 0.63 s of signal at 500 per second
      {&AnalysisResults::PULS, -72.7, "PULS"},
      {&AnalysisResults::PULS, 19.9, "PULS"},
      {&AnalysisResults::PULS, 0, "PULS"},
      {&AnalysisResults::VRKI, -kInf, "VRKI"},
      {&AnalysisResults::VRKI, 2.47e-323 * -1, "VRKI"},
      {&AnalysisResults::NAGR, std::nan(""), "NAGR"},
      {&AnalysisResults::MeanInterval, 4.0, "MeanInterval"},
      {&AnalysisResults::KOLP, 0.5, "KOLP"},
      {&AnalysisResults::KOLE, -1, "KOLE"},
      {&AnalysisResults::IntervalCount, 1e9, "IntervalCount"},
      {&AnalysisResults::MinNormalInterval, 99999, "MinNormalInterval"},
      {&AnalysisResults::SPSO, 1e308, "SPSO"},
      {&AnalysisResults::KOVR, -0.1, "KOVR"},
  };
  for (const Case& c : cases) {
    AnalysisResults r = Sound();
    r.*c.member = c.value;
    SCOPED_TRACE(std::string(c.name) + " = " + std::to_string(c.value));
    const auto names = DamagedResultNames(r);
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0], c.name);
    const auto shown = ShownResult(r, c.member, [](double) { return std::string("number"); });
    EXPECT_EQ(shown, "-");
  }
}

TEST(ResultValidity, TosoNeedsItsThreeInputs) {
  AnalysisResults r = Sound();
  EXPECT_TRUE(TosoPlausible(r));
  r.KOVR = kInf;  // not an input of the tone
  EXPECT_TRUE(TosoPlausible(r));
  for (double AnalysisResults::*input :
       {&AnalysisResults::NAGR, &AnalysisResults::DescentTime, &AnalysisResults::MeanInterval}) {
    AnalysisResults bad = Sound();
    bad.*input = std::nan("");
    EXPECT_FALSE(TosoPlausible(bad));
  }
}

}  // namespace
}  // namespace sfigmo
