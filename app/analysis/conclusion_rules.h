#pragma once
// The verdicts, score, pressure estimate and advice of the conclusion, as
// pure functions of the analysis results. Drawing lives elsewhere.

#include <optional>
#include <string>
#include <vector>

#include "analysis/clinical_rules.h"
#include "record/analysis_results.h"

namespace sfigmo {

struct VerdictLine {
  int Y = 0;                    // line's y on the conclusion screen
  std::string Text;             // UTF-8, exactly as shown
  std::optional<double> Value;  // PULS for the pulse-rate line, shown with 3 digits
  int ValueX = 0;               // where the value is written, when there is one
  VerdictColour Colour = VerdictColour::Green;
};

// The rule of each line on its own, worded for the screens; the results
// dialog shares them. The limits and texts are those of clinical_rules.h. PulseRateLine is empty for a NaN rate (a damaged
// stored block): no row's test holds for it.
std::optional<VerdictLine> HardPulseLine(double vrki);
std::optional<VerdictLine> PulseRateLine(double puls);
VerdictLine InterruptionsLine(double kolp, double kole);
VerdictLine RhythmLine(double vrki);
VerdictLine LoadLine(double descentTime, double nagr);

// The load verdict's own test (both at most their kLoadVerdict* limits); the
// score's test is stricter.
bool LoadInNorm(double descentTime, double nagr);

// Each verdict before any wording: the conclusion lines and the report's
// lines both come from it.
struct Verdicts {
  const VerdictText* HardPulse = nullptr;  // only for a VRKI below the limit
  const PulseBand* Rate = nullptr;         // none for a NaN rate
  const VerdictText* Interruptions = nullptr;
  const VerdictText* Rhythm = nullptr;
  const VerdictText* Load = nullptr;
};
Verdicts VerdictsOf(const AnalysisResults& results);

// Up to five lines in drawing order: hard pulse (y 30, only for a hard pulse),
// pulse rate (90), interruptions (60), rhythm (120), load (150).
std::vector<VerdictLine> ConclusionVerdicts(const AnalysisResults& working);

// -45 to 100. A NaN PULS scores like a rate out of every band (5).
int ConclusionScore(const AnalysisResults& working);

// t is computed with the record's DescentTime and NAGR and the working
// MeanInterval; P, R, S are the record's PULS, RiseTime, SPSO.
double PressureEstimate(const AnalysisResults& record, double workingMeanInterval);

// "НЕОБХОДИМ КОНТРОЛЬ" is drawn when the score is at most kAdviceScoreMax or
// the estimate, rounded half to even, is at most kAdvicePressureMax or at
// least kAdvicePressureFrom. A NaN estimate (a damaged record) cannot vouch for
// the pressure: advice needed.
bool AdviceNeeded(int score, double pressureEstimate);

}  // namespace sfigmo
