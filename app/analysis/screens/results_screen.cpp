#include "analysis/screens/results_screen.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "analysis/clinical_rules.h"
#include "analysis/indices.h"
#include "analysis/screens/screen_text.h"
#include "common/format_general.h"

namespace sfigmo {

namespace {

using screens::BlackPen;
using screens::SetFont;
using screens::TextOnWhite;

// Far enough left to be off the area; values below it (damaged records)
// only need to stay finite.
constexpr std::int64_t kLowest = -1000;

// round(scaled) + offset, limited above to upperLimit. The rounding is
// clamped first so that no value, however large, overflows an int.
int BarX(double scaled, int offset, int upperLimit) {
  return static_cast<int>(RoundHalfEvenClamped(scaled, kLowest, upperLimit - offset)) + offset;
}

struct Zone {
  int left;
  int right;
  QColor fill;
  bool ownOutline;  // outlined in its fill colour, else black
};

struct Bar {
  int left, top, right, bottom;  // box and zone band
  int circleTop;
};

void DrawBox(Canvas& c, const Bar& bar) {
  BlackPen(c);
  c.setBrushColor(colours::White);
  c.roundRect(bar.left, bar.top, bar.right, bar.bottom, 3, 3);
}

void DrawZones(Canvas& c, const Bar& bar, std::initializer_list<Zone> zones) {
  for (const Zone& z : zones) {
    c.setPenColor(z.ownOutline ? z.fill : colours::Black);
    c.setBrushColor(z.fill);
    c.rectangle(z.left, bar.top, z.right, bar.bottom);
  }
  BlackPen(c);
}

void DrawCircle(Canvas& c, const Bar& bar, int x) {
  BlackPen(c);
  c.setBrushColor(colours::Cyan);
  c.ellipse(x - 5, bar.circleTop, x + 5, bar.circleTop + 10);
}

void DrawFrame(Canvas& c, const Bar& bar) {
  c.setBrushColor(colours::Black);
  c.frameRect(bar.left, bar.top, bar.right, bar.bottom);
}

std::string Value(double v, int digits, char sep) { return FormatGeneral(v, digits, 0, sep); }

const Bar kPulseBar{10, 60, 210, 80, 64};
const Bar kRangeBar{10, 98, 210, 118, 103};
const Bar kVariationBar{10, 136, 210, 156, 141};
const Bar kResistanceBar{320, 60, 520, 80, 65};
const Bar kToneBar{320, 98, 520, 118, 103};
const Bar kLoadBar{320, 136, 520, 156, 141};

void DrawLeftTexts(Canvas& c, const AnalysisResults& r, char sep) {
  SetFont(c, 10, true);
  TextOnWhite(c, 220, 5, "Р Е З У Л Ь Т А Т");
  SetFont(c, 10, false);
  TextOnWhite(c, 50, 25, "АНАЛИЗ РИТМА");
  TextOnWhite(c, 370, 25, "АНАЛИЗ ФОРМЫ");
  SetFont(c, 8, false);
  TextOnWhite(c, 240, 25, "НОРМА");
  TextOnWhite(c, 550, 25, "НОРМА");
  TextOnWhite(c, 10, 43, "пульс  (уд/мин) ");
  TextOnWhite(c, 160, 43, Value(r.PULS, 3, sep));
  TextOnWhite(c, 240, 60, kPulsNorm.ScreenFrom);
  TextOnWhite(c, 10, 81, "вариационный размах (сек) ");
  TextOnWhite(c, 240, 95, kVrkiNorm.ScreenFrom);
  TextOnWhite(c, 240, 110, kVrkiNorm.ScreenTo);
  TextOnWhite(c, 160, 81, Value(r.VRKI, 4, sep));
  TextOnWhite(c, 10, 119, "коэффициент вариации (%)");
  TextOnWhite(c, 240, 130, kKovrNorm.ScreenFrom);
  TextOnWhite(c, 240, 145, kKovrNorm.ScreenTo);
  TextOnWhite(c, 160, 119, Value(r.KOVR, 4, sep));
}

void DrawRightTexts(Canvas& c, const AnalysisResults& r, char sep) {
  SetFont(c, 8, false);
  TextOnWhite(c, 320, 45, "сопротивление сосудов(сек)");
  TextOnWhite(c, 550, 55, kSpsoNorm.ScreenFrom);
  TextOnWhite(c, 550, 70, kSpsoNorm.ScreenTo);
  TextOnWhite(c, 484, 45, Value(r.SPSO, 3, sep));
  TextOnWhite(c, 320, 83, "тонус сосудов (%)");
  TextOnWhite(c, 550, 93, kTosoNorm.ScreenFrom);
  TextOnWhite(c, 550, 108, kTosoNorm.ScreenTo);
  // A record without analysis results has no mean interval to divide by.
  const bool hasTone = r.MeanInterval != 0 && std::isfinite(TOSO(r));
  TextOnWhite(c, 480, 83, hasTone ? Value(TOSO(r), 5, sep) : std::string("-"));
  TextOnWhite(c, 320, 121, "время максим. нагрузки(сек)");
  TextOnWhite(c, 550, 131, kNagrNorm.ScreenFrom);
  TextOnWhite(c, 550, 146, kNagrNorm.ScreenTo);
  TextOnWhite(c, 480, 121, Value(r.NAGR, 3, sep));
}

void DrawLeftBars(Canvas& c, const ResultsScalePositions& x) {
  DrawBox(c, kPulseBar);
  DrawZones(c, kPulseBar,
            {{65, 90, colours::Green, true},
             {10, 45, colours::Red, true},
             {45, 65, colours::Blue, true},
             {90, 110, colours::Blue, true},
             {110, 210, colours::Red, true}});
  DrawCircle(c, kPulseBar, x.Puls);
  DrawFrame(c, kPulseBar);

  DrawBox(c, kRangeBar);
  DrawZones(c, kRangeBar,
            {{40, 90, colours::Green, true},
             {10, 40, colours::Blue, true},
             {90, 160, colours::Blue, true},
             {160, 210, colours::Red, true}});
  DrawCircle(c, kRangeBar, x.Vrki);
  DrawFrame(c, kRangeBar);

  DrawBox(c, kVariationBar);
  DrawZones(c, kVariationBar, {{20, 60, colours::Green, false}});
  DrawCircle(c, kVariationBar, x.Kovr);
}

// Right bars in the order resistance, load, tone; the load circle comes
// last, over the tone's frame.
void DrawRightBars(Canvas& c, const ResultsScalePositions& x) {
  DrawBox(c, kResistanceBar);
  DrawZones(c, kResistanceBar, {{380, 410, colours::Green, false}});
  DrawCircle(c, kResistanceBar, x.Spso);

  DrawBox(c, kLoadBar);
  DrawZones(c, kLoadBar, {{390, 430, colours::Green, false}});

  // No box: the area's own silver shows right of the red zone.
  DrawZones(c, kToneBar,
            {{340, 370, colours::Green, true},
             {320, 340, colours::Blue, true},
             {370, 460, colours::Red, true}});
  if (x.Toso) DrawCircle(c, kToneBar, *x.Toso);
  DrawFrame(c, kToneBar);

  DrawCircle(c, kLoadBar, x.Nagr);
}

}  // namespace

ResultsScalePositions ScalePositions(const AnalysisResults& r) {
  ResultsScalePositions x;
  x.Puls = static_cast<int>(RoundHalfEvenClamped(r.PULS + 10, kLowest, 220));
  x.Vrki = BarX(500 * r.VRKI, 10, 220);
  x.Kovr = BarX(5 * r.KOVR, 10, 220);
  x.Spso = BarX(1000 * r.SPSO, 320, 530);
  x.Nagr = BarX(1000 * r.NAGR, 320, 530);
  if (r.MeanInterval != 0) {
    const double toneScaled = 200 * (r.DescentTime + r.NAGR) / r.MeanInterval;
    if (std::isfinite(toneScaled)) x.Toso = BarX(toneScaled, 320, 530);
  }
  return x;
}

void DrawResultsScreen(Canvas& c, const AnalysisResults& working, char sep) {
  const ResultsScalePositions x = ScalePositions(working);
  BlackPen(c);
  DrawLeftTexts(c, working, sep);
  DrawLeftBars(c, x);
  DrawRightTexts(c, working, sep);
  DrawRightBars(c, x);
  SetFont(c, 8, false);
  BlackPen(c);
}

void DrawCalculationStopped(Canvas& c) {
  SetFont(c, 10, true, colours::Red);
  screens::TextOnWhite(c, 10, kCalculationStoppedY, kCalculationStoppedText);
  SetFont(c, 8, false);
}

}  // namespace sfigmo
