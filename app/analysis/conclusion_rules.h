#pragma once
// The verdicts, score, pressure estimate and advice of the conclusion, as
// pure functions of the analysis results. Drawing lives elsewhere.

#include <optional>
#include <string>
#include <vector>

#include "storage/analysis_results.h"

namespace sfigmo {

enum class VerdictColour { Green, Blue, Red };

struct VerdictLine {
  int Y = 0;                    // line's y on the conclusion screen
  std::string Text;             // UTF-8, exactly as shown
  std::optional<double> Value;  // PULS for the pulse-rate line, shown with 3 digits
  int ValueX = 0;               // where the value is written, when there is one
  VerdictColour Colour = VerdictColour::Green;
};

// The rule of each line on its own; the results dialog shares thresholds and
// most texts with them. PulseRateLine is empty for a NaN rate (a damaged
// stored block): no row's test holds for it.
std::optional<VerdictLine> HardPulseLine(double vrki);
std::optional<VerdictLine> PulseRateLine(double puls);
VerdictLine InterruptionsLine(double kolp, double kole);
VerdictLine RhythmLine(double vrki);
VerdictLine LoadLine(double descentTime, double nagr);

// The load verdict's own test (DescentTime <= 0.12 and NAGR <= 0.11); the
// score's test is stricter.
bool LoadInNorm(double descentTime, double nagr);

// Up to five lines in drawing order: hard pulse (y 30, only when VRKI < 0.04),
// pulse rate (90), interruptions (60), rhythm (120), load (150).
std::vector<VerdictLine> ConclusionVerdicts(const AnalysisResults& working);

// -45 to 100. A NaN PULS scores like a rate out of every band (5).
int ConclusionScore(const AnalysisResults& working);

// t is computed with the record's DescentTime and NAGR and the working
// MeanInterval; P, R, S are the record's PULS, RiseTime, SPSO.
double PressureEstimate(const AnalysisResults& record, double workingMeanInterval);

// "НЕОБХОДИМ КОНТРОЛЬ" is drawn when the score is at most 70 or the estimate,
// rounded half to even, is at most 110 or at least 140. A NaN estimate (a
// damaged record) cannot vouch for the pressure: advice needed.
bool AdviceNeeded(int score, double pressureEstimate);

}  // namespace sfigmo
