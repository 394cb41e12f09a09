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
  int Y = 0;                     // line's y on the conclusion screen
  std::string Text;              // UTF-8, exactly as shown
  std::optional<double> Value;   // PULS for the pulse-rate line, shown with 3 digits
  int ValueX = 0;                // where the value is written, when there is one
  VerdictColour Colour = VerdictColour::Green;
};

// Up to five lines in drawing order: hard pulse (y 30, only when VRKI < 0.04),
// pulse rate (90), interruptions (60), rhythm (120), load (150).
std::vector<VerdictLine> ConclusionVerdicts(const AnalysisResults& working);

int ConclusionScore(const AnalysisResults& working);

// t is computed with the record's DescentTime and NAGR and the working
// MeanInterval; P, R, S are the record's PULS, RiseTime, SPSO.
double PressureEstimate(const AnalysisResults& record, double workingMeanInterval);

// "НЕОБХОДИМ КОНТРОЛЬ" is drawn when the score is at most 70 or the estimate,
// rounded half to even, is at most 110 or at least 140.
bool AdviceNeeded(int score, double pressureEstimate);

}  // namespace sfigmo
