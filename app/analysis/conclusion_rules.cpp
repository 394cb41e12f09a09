#include "analysis/conclusion_rules.h"

#include <cmath>

#include "common/format_general.h"

namespace sfigmo {

namespace {

constexpr int kValueXNorm = 325;   // after the longer norm text
constexpr int kValueXOther = 260;  // after the shorter texts

constexpr int kHardPulseY = 30;
constexpr int kInterruptionsY = 60;
constexpr int kRateY = 90;
constexpr int kRhythmY = 120;
constexpr int kLoadY = 150;

VerdictLine Line(int y, const VerdictText& text) {
  VerdictLine line;
  line.Y = y;
  line.Text = text.Screen;
  line.Colour = text.Colour;
  return line;
}

bool InterruptionsFound(double kolp, double kole) { return kole != 0 || kolp != 0; }
bool HardPulse(double vrki) { return vrki < kHardPulseVrkiBelow; }
bool RhythmUndisturbed(double vrki) { return vrki < kRhythmVrkiBelow; }

}  // namespace

std::optional<VerdictLine> HardPulseLine(double vrki) {
  if (HardPulse(vrki)) return Line(kHardPulseY, kHardPulse);
  return std::nullopt;
}

std::optional<VerdictLine> PulseRateLine(double puls) {
  const PulseBand* band = PulseBandOf(puls);
  if (!band) return std::nullopt;  // NaN
  VerdictLine line = Line(kRateY, band->Text);
  line.ValueX = band->Rate == PulseRate::Normal ? kValueXNorm : kValueXOther;
  line.Value = puls;
  return line;
}

VerdictLine InterruptionsLine(double kolp, double kole) {
  return Line(kInterruptionsY, InterruptionsFound(kolp, kole) ? kInterruptionsFound
                                                              : kNoInterruptions);
}

VerdictLine RhythmLine(double vrki) {
  return Line(kRhythmY, RhythmUndisturbed(vrki) ? kRhythmUndisturbed : kRhythmDisturbed);
}

bool LoadInNorm(double descentTime, double nagr) {
  return descentTime <= kLoadVerdictDescentTimeMax && nagr <= kLoadVerdictNagrMax;
}

VerdictLine LoadLine(double descentTime, double nagr) {
  return Line(kLoadY, LoadInNorm(descentTime, nagr) ? kLoadNormal : kLoadWeakened);
}

Verdicts VerdictsOf(const AnalysisResults& r) {
  Verdicts v;
  if (HardPulse(r.VRKI)) v.HardPulse = &kHardPulse;
  v.Rate = PulseBandOf(r.PULS);
  v.Interruptions = InterruptionsFound(r.KOLP, r.KOLE) ? &kInterruptionsFound : &kNoInterruptions;
  v.Rhythm = RhythmUndisturbed(r.VRKI) ? &kRhythmUndisturbed : &kRhythmDisturbed;
  v.Load = LoadInNorm(r.DescentTime, r.NAGR) ? &kLoadNormal : &kLoadWeakened;
  return v;
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
  const PulseBand* band = PulseBandOf(working.PULS);
  int score = band ? band->Score : kScoreOutsideBands;
  if (InterruptionsFound(working.KOLP, working.KOLE)) score -= kScoreInterruptionsPenalty;
  const auto step = [](bool holds) { return holds ? kScoreStepGain : -kScoreStepLoss; };
  score += step(kScoreVrkiFrom <= working.VRKI && working.VRKI <= kScoreVrkiTo);
  score += step(working.DescentTime < kScoreLoadDescentTimeBelow &&
                working.NAGR < kScoreLoadNagrBelow);
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
  if (score <= kAdviceScoreMax) return true;
  if (std::isnan(pressureEstimate)) return true;
  const double rounded = RoundHalfEven(pressureEstimate);
  return rounded <= kAdvicePressureMax || rounded >= kAdvicePressureFrom;
}

}  // namespace sfigmo
