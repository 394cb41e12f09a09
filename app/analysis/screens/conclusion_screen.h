#pragma once
// The conclusion screen: title, verdict lines with their circles, the
// advice and the instruction block, drawn on the trace area. The verdicts
// come from the pure rules; this only draws. Main thread only.

#include "analysis/signal_quality.h"
#include "draw/canvas.h"
#include "record/analysis_results.h"

namespace sfigmo {

// The title alone; the action lets events run between title and body.
void DrawConclusionTitle(Canvas& canvas);

// Verdict lines, advice and instructions. working: the last calculation's
// results; recordBlock: the current record's stored block (pressure
// estimate). Leaves a normal 8-point black font and a black 1-pixel pen.
void DrawConclusionBody(Canvas& canvas, const AnalysisResults& working,
                        const AnalysisResults& recordBlock, char decimalSeparator);

// For a doubtful recording, a red circle and the signal warning with its
// reason in the free corner below the verdict lines; nothing for a good one.
void DrawConclusionSignalWarning(Canvas& canvas, const SignalQuality& quality);

// For a good recording that reads irregular, a red circle and the irregular
// rhythm line (two lines) in the same corner; nothing otherwise.
void DrawConclusionRhythmWarning(Canvas& canvas, bool irregular);

}  // namespace sfigmo
