// The conclusion screen: which verdict lines, values, circles and advice
// appear for the boundary cases, the instruction block, and the state the
// drawing leaves behind.
#include "analysis/screens/conclusion_screen.h"

#include <cmath>
#include <limits>

#include "analysis/rhythm_reading.h"
#include "results_fixtures.h"
#include "screen_checks.h"

namespace sfigmo {
namespace {

using test::kAreaHeight;
using test::kAreaWidth;
using test::TextAt;
using test::HealthyResults;
using test::TextStyle;

const TextStyle kVerdict{10, true};
const QString kAdvice = QStringLiteral("НЕОБХОДИМ КОНТРОЛЬ");

// A stored block whose pressure estimate equals `estimate` exactly: with a
// rate above 76 the estimate is (R + S) * 10 * P, and (0.05 + 0.05) * 10 is 1.
AnalysisResults RecordWithEstimate(double estimate) {
  AnalysisResults r = HealthyResults();
  r.PULS = estimate;
  r.RiseTime = 0.05;
  r.SPSO = 0.05;
  return r;
}

struct Drawn {
  Canvas canvas{kAreaWidth, kAreaHeight, colours::Silver};
  Drawn(const AnalysisResults& working, const AnalysisResults& record) {
    DrawConclusionTitle(canvas);
    DrawConclusionBody(canvas, working, record, ',');
  }
  QColor circle(int y) const { return canvas.pixel(80, y + 10); }
  bool advice() const { return TextAt(canvas, 390, 190, kAdvice, {10, true, colours::Blue}); }
  bool noAdvice() const { return canvas.pixel(395, 200) == colours::Silver; }
};

TEST(ConclusionScreen, BestScoreShowsFourNormalLinesAndTheTitle) {
  AnalysisResults record = HealthyResults();
  record.RiseTime = 0.1;  // estimate (9.3 * 20.4 - 94 + 75.2 * 2) / 2 = 123.06
  record.SPSO = 0.1;
  Drawn d(HealthyResults(), record);
  EXPECT_TRUE(TextAt(d.canvas, 160, 5, QStringLiteral("З А К Л Ю Ч Е Н И Е "), kVerdict));
  EXPECT_TRUE(TextAt(d.canvas, 100, 90, QStringLiteral("ЧАСТОТА ПУЛЬСА В НОРМЕ -"), kVerdict));
  EXPECT_TRUE(TextAt(d.canvas, 325, 90, QStringLiteral("72"), kVerdict));
  EXPECT_TRUE(TextAt(d.canvas, 100, 60, QStringLiteral("ПЕРЕБОИ НЕ ОБНАРУЖЕНЫ"), kVerdict));
  EXPECT_TRUE(TextAt(d.canvas, 100, 120, QStringLiteral("СИНУСОВЫЙ РИТМ НЕ НАРУШЕН"), kVerdict));
  EXPECT_TRUE(TextAt(d.canvas, 100, 150, QStringLiteral("НАГРУЗКА МИОКАРДА В НОРМЕ"), kVerdict));
  for (int y : {60, 90, 120, 150}) EXPECT_EQ(d.circle(y), colours::Green) << y;
  EXPECT_EQ(d.circle(30), colours::Silver);  // no hard-pulse line
  EXPECT_EQ(d.canvas.pixel(100, 35), colours::Silver);
  EXPECT_TRUE(d.noAdvice());
  test::SaveScreenshot(d.canvas, QStringLiteral("conclusion-screen"));
}

// Damaged values, in the calculation's results or in the stored block the
// pressure estimate reads, give no verdict line, no circle and no advice.
TEST(ConclusionScreen, DamagedResultsSaySoAndConcludeNothing) {
  struct Case {
    const char* name;
    bool inRecord;
    double AnalysisResults::*member;
    double value;
  } cases[] = {
      {"NaN rate", false, &AnalysisResults::PULS, std::nan("")},
      {"infinite VRKI", false, &AnalysisResults::VRKI, -std::numeric_limits<double>::infinity()},
      {"rate 2730 stored", true, &AnalysisResults::PULS, 2730},
      {"negative SPSO stored", true, &AnalysisResults::SPSO, -0.1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AnalysisResults working = HealthyResults();
    AnalysisResults record = HealthyResults();
    AnalysisResults& damaged = c.inRecord ? record : working;
    damaged.*c.member = c.value;
    Drawn d(working, record);
    EXPECT_TRUE(TextAt(d.canvas, 100, 90, QStringLiteral("РЕЗУЛЬТАТЫ ПОВРЕЖДЕНЫ"),
                       {10, true, colours::Red}));
    EXPECT_EQ(d.circle(90), colours::Red);
    for (int y : {30, 60, 120, 150}) EXPECT_EQ(d.circle(y), colours::Silver) << y;
    EXPECT_TRUE(d.noAdvice());
    EXPECT_TRUE(
        TextAt(d.canvas, 380, 155, QStringLiteral("Подробнее смотри в меню СПРАВКА"), {8, false}));
  }
}

TEST(ConclusionScreen, LoadWithin011IsNormalButCostsTheScore) {
  AnalysisResults w = HealthyResults();
  w.NAGR = 0.105;  // score 40 + 30 - 10 = 60
  Drawn d(w, RecordWithEstimate(125));
  EXPECT_TRUE(TextAt(d.canvas, 100, 150, QStringLiteral("НАГРУЗКА МИОКАРДА В НОРМЕ"), kVerdict));
  EXPECT_EQ(d.circle(150), colours::Green);
  EXPECT_TRUE(d.advice());
}

TEST(ConclusionScreen, RaisedPulseWithAnExtrasystoleAlwaysAdvises) {
  AnalysisResults w = HealthyResults();
  w.PULS = 85;
  w.KOLE = 1;
  Drawn d(w, RecordWithEstimate(125));
  EXPECT_TRUE(TextAt(d.canvas, 100, 90, QStringLiteral("ПУЛЬС  ПОВЫШЕН -"), kVerdict));
  EXPECT_TRUE(TextAt(d.canvas, 260, 90, QStringLiteral("85"), kVerdict));
  EXPECT_EQ(d.circle(90), colours::Blue);
  EXPECT_TRUE(TextAt(d.canvas, 100, 60, QStringLiteral("ОБНАРУЖЕНЫ ПЕРЕБОИ"), kVerdict));
  EXPECT_EQ(d.circle(60), colours::Red);
  EXPECT_TRUE(d.advice());
}

TEST(ConclusionScreen, PulseBandEdges) {
  struct Case {
    double puls;
    const char* text;
    int valueX;
    QColor colour;
  };
  const Case cases[] = {
      {80, "ЧАСТОТА ПУЛЬСА В НОРМЕ -", 325, colours::Green},
      {70, "ЧАСТОТА ПУЛЬСА В НОРМЕ -", 325, colours::Green},
      {90, "ПУЛЬС  ПОВЫШЕН -", 260, colours::Blue},
      {55, "ПУЛЬС  ПОНИЖЕН -", 260, colours::Blue},
      {54.9, "НИЗКИЙ   ПУЛЬС -", 260, colours::Red},
      {90.4, "ВЫСОКИЙ  ПУЛЬС -", 260, colours::Red},
  };
  for (const Case& c : cases) {
    AnalysisResults w = HealthyResults();
    w.PULS = c.puls;
    Drawn d(w, RecordWithEstimate(125));
    EXPECT_TRUE(TextAt(d.canvas, 100, 90, QString::fromUtf8(c.text), kVerdict)) << c.puls;
    EXPECT_TRUE(TextAt(d.canvas, c.valueX, 90, QString::number(c.puls).replace('.', ','), kVerdict))
        << c.puls;
    EXPECT_EQ(d.circle(90), c.colour) << c.puls;
  }
  AnalysisResults w = HealthyResults();
  w.PULS = 80;  // scores 40 + 30 + 30: no advice with a good estimate
  EXPECT_TRUE(Drawn(w, RecordWithEstimate(125)).noAdvice());
}

TEST(ConclusionScreen, AdviceFollowsTheRoundedPressureEstimate) {
  EXPECT_TRUE(Drawn(HealthyResults(), RecordWithEstimate(110.5)).advice());    // rounds to 110
  EXPECT_TRUE(Drawn(HealthyResults(), RecordWithEstimate(111.5)).noAdvice());  // 112
  EXPECT_TRUE(Drawn(HealthyResults(), RecordWithEstimate(139.4)).noAdvice());
  EXPECT_TRUE(Drawn(HealthyResults(), RecordWithEstimate(139.5)).advice());  // 140
}

TEST(ConclusionScreen, RateOf76And77TakeDifferentEstimates) {
  AnalysisResults record = HealthyResults();
  record.MeanInterval = 0.85;
  record.DescentTime = 0.08;
  record.NAGR = 0.09;  // t = 20 with the working interval 0.85
  record.RiseTime = 0.08;
  record.SPSO = 0.08;
  AnalysisResults w = HealthyResults();
  w.MeanInterval = 0.85;
  record.PULS = 76;  // (9.3 * 20 - 94 + 760 * 0.16) / 2 = 106.8
  EXPECT_TRUE(Drawn(w, record).advice());
  record.PULS = 77;  // 770 * 0.16 = 123.2
  EXPECT_TRUE(Drawn(w, record).noAdvice());
}

TEST(ConclusionScreen, HardPulseAndDisturbedRhythmAndWeakMuscle) {
  AnalysisResults w = HealthyResults();
  w.VRKI = 0.03;
  Drawn hard(w, RecordWithEstimate(125));
  EXPECT_TRUE(TextAt(hard.canvas, 100, 30, QStringLiteral("ПУЛЬС ЖЕСТКИЙ"), kVerdict));
  EXPECT_EQ(hard.circle(30), colours::Blue);
  EXPECT_TRUE(TextAt(hard.canvas, 100, 120, QStringLiteral("СИНУСОВЫЙ РИТМ НЕ НАРУШЕН"), kVerdict));

  w = HealthyResults();
  w.VRKI = 0.16;
  w.DescentTime = 0.13;
  Drawn weak(w, RecordWithEstimate(125));
  EXPECT_TRUE(TextAt(weak.canvas, 100, 120, QStringLiteral("НАРУШЕН СИНУСОВЫЙ РИТМ"), kVerdict));
  EXPECT_EQ(weak.circle(120), colours::Red);
  EXPECT_TRUE(
      TextAt(weak.canvas, 100, 150, QStringLiteral("СЕРДЕЧНАЯ  МЫШЦА ОСЛАБЛЕНА"), kVerdict));
  EXPECT_EQ(weak.circle(150), colours::Blue);
}

TEST(ConclusionScreen, InstructionBlockWithItsRedMarkAndTheFinalState) {
  Canvas c(kAreaWidth, kAreaHeight, colours::Silver);
  c.setPenColor(colours::Red);
  c.setPenWidth(2);
  DrawConclusionBody(c, HealthyResults(), RecordWithEstimate(125), ',');
  EXPECT_TRUE(TextAt(c, 380, 20, QStringLiteral("   Если Вы получили сообщение -")));
  EXPECT_TRUE(TextAt(c, 380, 35, QStringLiteral("\"НЕОБХОДИМ КОНТРОЛЬ, то Вам ")));
  EXPECT_TRUE(TextAt(c, 380, 110, QStringLiteral("установите ручной режим измерения,")));
  EXPECT_TRUE(TextAt(c, 380, 155, QStringLiteral("Подробнее смотри в меню СПРАВКА")));
  EXPECT_EQ(c.pixel(502, 102), colours::Red);
  EXPECT_EQ(c.pixel(495, 102), colours::Black);  // outlined with the black pen
  EXPECT_EQ(c.penColor(), colours::Black);
  EXPECT_EQ(c.penWidth(), 1);
  EXPECT_FALSE(c.font().bold());
  EXPECT_EQ(c.font().pointSize(), 8);
  EXPECT_EQ(c.fontColor(), colours::Black);
}

TEST(ConclusionScreen, DrawingAgainGivesTheSamePicture) {
  Drawn a(HealthyResults(), RecordWithEstimate(100));
  Drawn b(HealthyResults(), RecordWithEstimate(100));
  b.canvas.clear(colours::Silver);
  DrawConclusionTitle(b.canvas);
  DrawConclusionBody(b.canvas, HealthyResults(), RecordWithEstimate(100), ',');
  EXPECT_TRUE(a.canvas.image() == b.canvas.image());
}

// A doubtful recording adds the warning with a red circle below the last
// verdict line; every specified text stays where it was, and a good one
// changes nothing at all.
// An irregular reading on a good recording: a red circle and the rhythm line
// in the warning's corner, kept left of the instructions and the advice.
TEST(ConclusionScreen, IrregularRhythmLine) {
  Drawn plain(HealthyResults(), RecordWithEstimate(100));
  Drawn same(HealthyResults(), RecordWithEstimate(100));
  DrawConclusionRhythmWarning(same.canvas, false);
  EXPECT_TRUE(plain.canvas.image() == same.canvas.image());

  Drawn warned(HealthyResults(), RecordWithEstimate(100));
  DrawConclusionRhythmWarning(warned.canvas, true);
  EXPECT_EQ(warned.circle(180), colours::Red);
  EXPECT_TRUE(TextAt(warned.canvas, 100, 180, QString::fromUtf8(kIrregularRhythmLines[0]),
                     {8, true, colours::Red}));
  EXPECT_TRUE(TextAt(warned.canvas, 100, 196, QString::fromUtf8(kIrregularRhythmLines[1])));
  EXPECT_TRUE(warned.advice());
  EXPECT_TRUE(plain.canvas.image().copy(0, 0, kAreaWidth, 180) ==
              warned.canvas.image().copy(0, 0, kAreaWidth, 180));
  EXPECT_TRUE(plain.canvas.image().copy(380, 0, kAreaWidth - 380, kAreaHeight) ==
              warned.canvas.image().copy(380, 0, kAreaWidth - 380, kAreaHeight));
}

TEST(ConclusionScreen, SignalWarningOnlyForADoubtfulRecording) {
  SignalQuality good;
  Drawn plain(HealthyResults(), RecordWithEstimate(100));
  Drawn same(HealthyResults(), RecordWithEstimate(100));
  DrawConclusionSignalWarning(same.canvas, good);
  EXPECT_TRUE(plain.canvas.image() == same.canvas.image());

  SignalQuality doubtful;
  doubtful.doubtful = true;
  doubtful.reasons = {QualityReason::Dicrotic};
  Drawn warned(HealthyResults(), RecordWithEstimate(100));
  DrawConclusionSignalWarning(warned.canvas, doubtful);
  EXPECT_EQ(warned.circle(180), colours::Red);
  EXPECT_TRUE(TextAt(warned.canvas, 100, 180, QString::fromUtf8(SignalWarningText()),
                     {8, true, colours::Red}));
  EXPECT_TRUE(TextAt(warned.canvas, 100, 196, QStringLiteral("отмечен дикротический зубец")));
  EXPECT_TRUE(warned.advice());  // the advice at (390, 190) is untouched
  // Above y 180 the picture is the plain one.
  EXPECT_TRUE(plain.canvas.image().copy(0, 0, kAreaWidth, 180) ==
              warned.canvas.image().copy(0, 0, kAreaWidth, 180));
  // Nor does the warning reach the instruction column or the advice.
  EXPECT_TRUE(plain.canvas.image().copy(380, 0, kAreaWidth - 380, kAreaHeight) ==
              warned.canvas.image().copy(380, 0, kAreaWidth - 380, kAreaHeight));
  EXPECT_EQ(warned.canvas.fontColor(), colours::Black);
  EXPECT_FALSE(warned.canvas.font().bold());
  test::SaveScreenshot(warned.canvas, QStringLiteral("conclusion-signal-warning"));
}

}  // namespace
}  // namespace sfigmo
