#pragma once
// The calculation's results screen: each index as text and on a scale bar
// against its norm, drawn on the trace area (625 x 217 design pixels).
// Pure drawing: no window, no state beyond the canvas. Main thread only.

#include <optional>

#include "draw/canvas.h"
#include "record/analysis_results.h"

namespace sfigmo {

// Circle centres (x) of the six scale bars, limited to each bar's right end.
// Tone has no position when it cannot be computed (mean interval 0).
struct ResultsScalePositions {
  int Puls = 0;
  int Vrki = 0;
  int Kovr = 0;
  int Spso = 0;
  int Nagr = 0;
  std::optional<int> Toso;
};

ResultsScalePositions ScalePositions(const AnalysisResults& working);

// Draws texts, values and bars over whatever the canvas holds (the caller
// clears it). Leaves black 1-pixel lines and an 8-point normal font.
void DrawResultsScreen(Canvas& canvas, const AnalysisResults& working, char decimalSeparator);

// A calculation that stopped at a guard draws no results: one line instead
// says why (too few regular beats), in bold red 10-point on white, at the
// top. Leaves an 8-point normal font.
inline constexpr int kCalculationStoppedY = 25;
inline constexpr const char* kCalculationStoppedText =
    "Расчёт невозможен: в записи слишком мало правильных ударов";
void DrawCalculationStopped(Canvas& canvas);

}  // namespace sfigmo
