#pragma once
// The recording check's two screens on the trace area: frame 1 of an
// accepted recording (baseline, curve, numbered beat marks) and the advice
// shown for a rejected one. Main thread only.

#include <QColor>
#include <QString>

#include "analysis/recording_check.h"
#include "analysis/signal_quality.h"

namespace sfigmo {

class Canvas;

// What the check screen and saving say about a recording the sensor cut
// short: that it ended early, and how many seconds of it came.
QString CutShortText(const PulsogramRecord& record, QChar decimalSeparator);

// The reason text for a verdict; empty unless the recording is implausible.
QString RejectionReason(const RecordingVerdict& verdict, const PulsogramRecord& record,
                        QChar decimalSeparator);

inline constexpr int kTraceBaseline = 100;  // sample value 0 is drawn here
inline constexpr int kMarkTop = 10;
inline constexpr int kMarkBottom = 150;

// Draws frame `frameNumber` (1-based) of an accepted recording. Positions past
// SampleCount are left empty. markCursor is the number of the next mark to
// label and moves past each mark drawn.
void DrawFrame(Canvas& canvas, const PulsogramRecord& record, const MarkTable& marks,
               int outerWidth, int frameNumber, int& markCursor);
// DrawFrame in the check's pens and font: a thin blue curve, black 8-point
// mark numbers on `background`.
void DrawCheckFrame(Canvas& canvas, const QColor& background, const PulsogramRecord& record,
                    const MarkTable& marks, int outerWidth, int frameNumber, int& markCursor);

// The eight advice lines of the rejection screen at their places.
struct AdviceLine {
  int x;
  int y;
  const char* text;
};
const AdviceLine* RejectionAdvice(int* count);
void DrawRejection(Canvas& canvas);
// Above the advice of the rejection screen: why the recording is not a pulse
// recording, in red. Nothing when `reason` is empty; the font is left as it was.
inline constexpr int kRejectionReasonY = 25;
void DrawRejectionReason(Canvas& canvas, const QString& reason);

// On the check's screens of a recording the sensor cut short: CutShortText in
// red at y (kCutShortFrameY below the frame, kCutShortRejectionY above the
// advice). The canvas's font is left as it was.
inline constexpr int kCutShortFrameY = 172;
inline constexpr int kCutShortRejectionY = 5;
void DrawCutShortNotice(Canvas& canvas, int y, const QString& text);

// Below the frame of a doubtful recording: the red warning and its reason.
// Nothing for a good one; the canvas's font is left as it was.
inline constexpr int kSignalWarningY = 190;
void DrawSignalWarning(Canvas& canvas, const SignalQuality& quality);

}  // namespace sfigmo
