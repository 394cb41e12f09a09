#include "results/pages_verdicts.h"

#include <cmath>

#include "analysis/indices.h"
#include "common/format_general.h"

namespace sfigmo {

namespace {

PagesVerdict FromLine(const VerdictLine& line) { return {line.Text, line.Colour}; }

}  // namespace

std::array<PagesVerdict, kPagesTabCount> PagesVerdicts(const AnalysisResults& working,
                                                       const AnalysisResults& recordBlock,
                                                       char decimalSeparator) {
  std::array<PagesVerdict, kPagesTabCount> v;

  // A NaN rate (damaged block) matches no row: the value alone, in red.
  if (auto rate = PulseRateLine(working.PULS))
    v[kPulseTab] = FromLine(*rate);
  else
    v[kPulseTab].Colour = VerdictColour::Red;
  v[kPulseTab].Text += FormatGeneral(working.PULS, 3, 0, decimalSeparator);

  const bool loadNormal = LoadInNorm(working.DescentTime, working.NAGR);
  v[kHeartTab].Text = loadNormal ? kHeartTabNormal : kHeartTabWeakened;
  v[kHeartTab].Text += FormatGeneral(recordBlock.NAGR, 3, 0, decimalSeparator);
  v[kHeartTab].Colour = (loadNormal ? kLoadNormal : kLoadWeakened).Colour;

  // A record without analysis results has no mean interval to divide by.
  v[kVesselTab].Text = "ТОНУС СОСУДОВ - ";
  const double tone = working.MeanInterval != 0
                          ? TOSO(recordBlock.NAGR, recordBlock.DescentTime, working.MeanInterval)
                          : NAN;
  v[kVesselTab].Text += std::isfinite(tone) ? FormatGeneral(tone, 3, 0, decimalSeparator) : "-";
  v[kVesselTab].Colour = VerdictColour::Green;

  v[kRhythmTab] = FromLine(RhythmLine(working.VRKI));
  v[kInterruptionTab] = FromLine(InterruptionsLine(working.KOLP, working.KOLE));
  return v;
}

}  // namespace sfigmo
