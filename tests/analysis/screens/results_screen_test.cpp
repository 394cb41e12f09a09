// The results screen: where each scale bar's circle lands (checked on the
// drawn pixels), the limits, the tone that cannot be computed, and that a
// second drawing gives the same picture.
#include "analysis/screens/results_screen.h"

#include <limits>

#include "screen_checks.h"
#include "screen_renders.h"

namespace sfigmo {
namespace {

using test::kAreaHeight;
using test::kAreaWidth;
using test::TextAt;
using test::TypicalResults;

// Circle tops per bar; the circle's inside is cyan at (x, top + 5).
constexpr int kPulseTop = 64, kRangeTop = 103, kVariationTop = 141;
constexpr int kResistanceTop = 65, kToneTop = 103, kLoadTop = 141;

bool CyanAt(const Canvas& c, int x, int circleTop) {
  return c.pixel(x, circleTop + 5) == colours::Cyan &&
         c.pixel(x - 1, circleTop + 4) == colours::Cyan;
}

struct Drawn {
  Canvas canvas{kAreaWidth, kAreaHeight, colours::Silver};
  explicit Drawn(const AnalysisResults& r, char sep = ',') { DrawResultsScreen(canvas, r, sep); }
};

TEST(ResultsScreen, ScaleBarExamplesLandOnTheDrawnCanvas) {
  const AnalysisResults r = TypicalResults();
  const ResultsScalePositions x = ScalePositions(r);
  EXPECT_EQ(x.Puls, 82);
  EXPECT_EQ(x.Vrki, 60);
  ASSERT_TRUE(x.Toso.has_value());
  EXPECT_EQ(*x.Toso, 358);  // 37.5 rounds to the even 38

  Drawn d(r);
  EXPECT_TRUE(CyanAt(d.canvas, 82, kPulseTop));
  EXPECT_EQ(d.canvas.pixel(72, kPulseTop + 5), colours::Green);  // zone, no circle there
  EXPECT_TRUE(CyanAt(d.canvas, 60, kRangeTop));
  EXPECT_TRUE(CyanAt(d.canvas, 358, kToneTop));
  EXPECT_TRUE(CyanAt(d.canvas, 38, kVariationTop));    // round(27.5) = 28, + 10
  EXPECT_TRUE(CyanAt(d.canvas, 395, kResistanceTop));  // 75 + 320
  EXPECT_TRUE(CyanAt(d.canvas, 410, kLoadTop));        // 90 + 320
  EXPECT_TRUE(TextAt(d.canvas, 480, 83, QStringLiteral("18,75")));
  EXPECT_TRUE(TextAt(d.canvas, 160, 43, QStringLiteral("72,4")));
  EXPECT_TRUE(TextAt(d.canvas, 160, 81, QStringLiteral("0,1")));
  EXPECT_TRUE(TextAt(d.canvas, 484, 45, QStringLiteral("0,075")));
  EXPECT_TRUE(TextAt(d.canvas, 480, 121, QStringLiteral("0,09")));
}

TEST(ResultsScreen, PositionsAreLimitedAtEachBarsRightEnd) {
  AnalysisResults r = TypicalResults();
  r.PULS = 250;
  r.KOVR = 49.02;  // round(245.1) + 10 = 255
  r.SPSO = 0.5;
  r.NAGR = 0.3;
  r.MeanInterval = 0.5;  // tone 200 * 0.36 / 0.5 + 320 = 464
  const ResultsScalePositions x = ScalePositions(r);
  EXPECT_EQ(x.Puls, 220);
  EXPECT_EQ(x.Kovr, 220);
  EXPECT_EQ(x.Spso, 530);
  EXPECT_EQ(x.Nagr, 530);
  EXPECT_EQ(*x.Toso, 464);

  Drawn d(r);
  EXPECT_TRUE(CyanAt(d.canvas, 220, kPulseTop));
  EXPECT_TRUE(CyanAt(d.canvas, 220, kVariationTop));
  EXPECT_TRUE(CyanAt(d.canvas, 530, kResistanceTop));
  EXPECT_TRUE(CyanAt(d.canvas, 530, kLoadTop));
  EXPECT_TRUE(CyanAt(d.canvas, 464, kToneTop));
}

TEST(ResultsScreen, DamagedValuesNeitherOverflowNorDrawOnTheArea) {
  AnalysisResults r = TypicalResults();
  r.PULS = 1e300;
  r.VRKI = -1e300;
  r.KOVR = std::numeric_limits<double>::infinity();
  r.SPSO = std::numeric_limits<double>::quiet_NaN();
  r.NAGR = 1e19;
  const ResultsScalePositions x = ScalePositions(r);
  EXPECT_EQ(x.Puls, 220);
  EXPECT_EQ(x.Kovr, 220);
  EXPECT_EQ(x.Nagr, 530);
  EXPECT_LT(x.Vrki, 0);  // off the area to the left
  EXPECT_LT(x.Spso, 0);
  Drawn d(r);  // must not trip the sanitizers
  EXPECT_TRUE(CyanAt(d.canvas, 220, kPulseTop));
}

TEST(ResultsScreen, ToneWithoutAMeanIntervalShowsADashAndNoCircle) {
  AnalysisResults r = TypicalResults();
  r.MeanInterval = 0;
  EXPECT_FALSE(ScalePositions(r).Toso.has_value());
  Drawn d(r);
  EXPECT_TRUE(TextAt(d.canvas, 480, 83, QStringLiteral("-")));
  for (int x = 315; x < 536; ++x)
    for (int y = kToneTop; y < kToneTop + 10; ++y)
      ASSERT_NE(d.canvas.pixel(x, y), colours::Cyan) << x << "," << y;

  r.NAGR = r.DescentTime = 0;  // 0 / 0 as well
  EXPECT_FALSE(ScalePositions(r).Toso.has_value());
}

TEST(ResultsScreen, BarsShowTheirZonesFrameAndTheSilverRightOfTheToneBar) {
  AnalysisResults r = TypicalResults();
  r.PULS = -100;  // circles off the bars, zones visible
  r.VRKI = -1;
  r.KOVR = -100;
  r.SPSO = r.NAGR = -1;
  r.MeanInterval = 0;
  Drawn d(r);
  const Canvas& c = d.canvas;
  EXPECT_EQ(c.pixel(30, 70), colours::Red);
  EXPECT_EQ(c.pixel(55, 70), colours::Blue);
  EXPECT_EQ(c.pixel(80, 70), colours::Green);
  EXPECT_EQ(c.pixel(100, 70), colours::Blue);
  EXPECT_EQ(c.pixel(150, 70), colours::Red);
  EXPECT_EQ(c.pixel(10, 70), colours::Black);  // frame of bar 1
  EXPECT_EQ(c.pixel(209, 70), colours::Black);
  EXPECT_EQ(c.pixel(200, 108), colours::Red);    // bar 2's red end
  EXPECT_EQ(c.pixel(40, 146), colours::Green);   // KOVR norm
  EXPECT_EQ(c.pixel(100, 146), colours::White);  // its box
  EXPECT_EQ(c.pixel(20, 146), colours::Black);   // zone outlined black
  EXPECT_EQ(c.pixel(330, 108), colours::Blue);   // tone zones
  EXPECT_EQ(c.pixel(355, 108), colours::Green);
  EXPECT_EQ(c.pixel(400, 108), colours::Red);
  EXPECT_EQ(c.pixel(490, 108), colours::Silver);  // no box behind the tone bar
  EXPECT_EQ(c.pixel(519, 108), colours::Black);   // its frame
  EXPECT_EQ(c.pixel(395, 70), colours::Green);    // SPSO norm
  EXPECT_EQ(c.pixel(410, 146), colours::Green);   // NAGR norm
  EXPECT_EQ(c.pixel(500, 146), colours::White);
}

TEST(ResultsScreen, FixedTextsSitAtTheirPlaces) {
  Drawn d(TypicalResults());
  const test::TextStyle title{10, true}, head{10, false};
  EXPECT_TRUE(TextAt(d.canvas, 220, 5, QStringLiteral("Р Е З У Л Ь Т А Т"), title));
  EXPECT_TRUE(TextAt(d.canvas, 50, 25, QStringLiteral("АНАЛИЗ РИТМА"), head));
  EXPECT_TRUE(TextAt(d.canvas, 370, 25, QStringLiteral("АНАЛИЗ ФОРМЫ"), head));
  EXPECT_TRUE(TextAt(d.canvas, 550, 25, QStringLiteral("НОРМА")));
  EXPECT_TRUE(TextAt(d.canvas, 240, 60, QStringLiteral("55 - 80")));
  EXPECT_TRUE(TextAt(d.canvas, 240, 145, QStringLiteral("до 10.0")));
  EXPECT_TRUE(TextAt(d.canvas, 550, 146, QStringLiteral("до 0.11")));
}

TEST(ResultsScreen, DrawingAgainGivesTheSamePictureAndLeavesAPlainState) {
  const AnalysisResults r = TypicalResults();
  Drawn first(r);
  Canvas again(kAreaWidth, kAreaHeight, colours::Silver);
  again.setPenColor(colours::Red);  // what the live trace leaves behind
  again.setPenWidth(2);
  DrawResultsScreen(again, r, ',');
  again.clear(colours::Silver);  // as every repaint does before drawing
  DrawResultsScreen(again, r, ',');
  EXPECT_TRUE(first.canvas.image() == again.image());
  EXPECT_EQ(again.penColor(), colours::Black);
  EXPECT_EQ(again.penWidth(), 1);
  EXPECT_FALSE(again.font().bold());
  test::SaveScreenshot(first.canvas, QStringLiteral("results-screen"));
}

TEST(ResultsScreen, ValuesUseTheGivenDecimalSeparator) {
  Drawn d(TypicalResults(), '.');
  EXPECT_TRUE(TextAt(d.canvas, 480, 83, QStringLiteral("18.75")));
}

}  // namespace
}  // namespace sfigmo
