#include "analysis/conclusion_rules.h"

#include <cmath>

#include "common/format_general.h"

namespace sfigmo {

namespace {

constexpr int kValueXNorm = 325;   // after the longer norm text
constexpr int kValueXOther = 260;  // after the shorter texts

VerdictLine Line(int y, const char* text, VerdictColour colour) {
  VerdictLine line;
  line.Y = y;
  line.Text = text;
  line.Colour = colour;
  return line;
}

}  // namespace

std::optional<VerdictLine> HardPulseLine(double vrki) {
  if (vrki < 0.04) return Line(30, "ПУЛЬС ЖЕСТКИЙ", VerdictColour::Blue);
  return std::nullopt;
}

std::optional<VerdictLine> PulseRateLine(double puls) {
  VerdictLine line;
  if (70 <= puls && puls <= 80) {
    line = Line(90, "ЧАСТОТА ПУЛЬСА В НОРМЕ -", VerdictColour::Green);
    line.ValueX = kValueXNorm;
  } else if (55 <= puls && puls < 70) {
    line = Line(90, "ПУЛЬС  ПОНИЖЕН -", VerdictColour::Blue);
  } else if (puls < 55) {
    line = Line(90, "НИЗКИЙ   ПУЛЬС -", VerdictColour::Red);
  } else if (80 < puls && puls <= 90) {
    line = Line(90, "ПУЛЬС  ПОВЫШЕН -", VerdictColour::Blue);
  } else if (puls > 90) {
    line = Line(90, "ВЫСОКИЙ  ПУЛЬС -", VerdictColour::Red);
  } else {
    return std::nullopt;  // NaN
  }
  if (line.ValueX == 0) line.ValueX = kValueXOther;
  line.Value = puls;
  return line;
}

VerdictLine InterruptionsLine(double kolp, double kole) {
  if (kole != 0 || kolp != 0) return Line(60, "ОБНАРУЖЕНЫ ПЕРЕБОИ", VerdictColour::Red);
  return Line(60, "ПЕРЕБОИ НЕ ОБНАРУЖЕНЫ", VerdictColour::Green);
}

VerdictLine RhythmLine(double vrki) {
  if (vrki < 0.16) return Line(120, "СИНУСОВЫЙ РИТМ НЕ НАРУШЕН", VerdictColour::Green);
  return Line(120, "НАРУШЕН СИНУСОВЫЙ РИТМ", VerdictColour::Red);
}

bool LoadInNorm(double descentTime, double nagr) { return descentTime <= 0.12 && nagr <= 0.11; }

VerdictLine LoadLine(double descentTime, double nagr) {
  if (LoadInNorm(descentTime, nagr))
    return Line(150, "НАГРУЗКА МИОКАРДА В НОРМЕ", VerdictColour::Green);
  return Line(150, "СЕРДЕЧНАЯ  МЫШЦА ОСЛАБЛЕНА", VerdictColour::Blue);
}

std::vector<VerdictLine> ConclusionVerdicts(const AnalysisResults& working) {
  std::vector<VerdictLine> lines;
  if (auto hard = HardPulseLine(working.VRKI)) lines.push_back(*hard);
  if (auto rate = PulseRateLine(working.PULS)) lines.push_back(*rate);
  lines.push_back(InterruptionsLine(working.KOLP, working.KOLE));
  lines.push_back(RhythmLine(working.VRKI));
  lines.push_back(LoadLine(working.DescentTime, working.NAGR));
  return lines;
}

int ConclusionScore(const AnalysisResults& working) {
  const double puls = working.PULS;
  int score = 5;  // below 55, above 90, or NaN
  if (55 <= puls && puls <= 80)
    score = 40;
  else if (80 < puls && puls <= 90)
    score = 20;

  if (working.KOLE != 0 || working.KOLP != 0) score -= 30;
  score += (0.04 <= working.VRKI && working.VRKI <= 0.16) ? 30 : -10;
  score += (working.DescentTime < 0.12 && working.NAGR < 0.10) ? 30 : -10;
  return score;
}

double PressureEstimate(const AnalysisResults& record, double workingMeanInterval) {
  const double t = (record.DescentTime + record.NAGR) * 100 / workingMeanInterval;
  const double P = record.PULS;
  const double R = record.RiseTime;
  const double S = record.SPSO;
  if (P > 76) return (R + S) * 10 * P;
  return (9.3 * t - 94 + ((P - 76) * (P - 76) / 5 + P) * (R + S) * 10) / 2;
}

bool AdviceNeeded(int score, double pressureEstimate) {
  if (score <= 70) return true;
  if (std::isnan(pressureEstimate)) return true;
  const double rounded = RoundHalfEven(pressureEstimate);
  return rounded <= 110 || rounded >= 140;
}

}  // namespace sfigmo
