#pragma once
// The one-line verdicts of the results dialog's five tabs, as pure
// functions of the analysis results; the dialog only shows them.

#include <array>
#include <string>

#include "analysis/conclusion_rules.h"
#include "record/analysis_results.h"

namespace sfigmo {

struct PagesVerdict {
  std::string Text;  // UTF-8, value appended
  VerdictColour Colour = VerdictColour::Green;
};

enum PagesTab { kPulseTab, kHeartTab, kVesselTab, kRhythmTab, kInterruptionTab, kPagesTabCount };

// Verdicts in tab order. working: the last calculation's results;
// recordBlock: the current record's stored block (NAGR and DescentTime of the
// heart and vessel tabs). A vascular tone that cannot be computed (mean
// interval 0) shows "-".
std::array<PagesVerdict, kPagesTabCount> PagesVerdicts(const AnalysisResults& working,
                                                       const AnalysisResults& recordBlock,
                                                       char decimalSeparator);

}  // namespace sfigmo
