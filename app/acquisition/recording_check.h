#pragma once
// The recording check: marks the beats of a recording and judges whether it
// can be analysed; its screens are in screens/check_screen.h.

#include <QString>

#include "analysis/beat_marking.h"
#include "analysis/recording_plausibility.h"
#include "storage/pulsogram_record.h"

namespace sfigmo {

// Samples per frame for outer width W: round((W - 15) / 2), ties to even.
int FrameWidth(int outerWidth);

// Marks and judges `record`: MarkBeats over its usable samples into `marks`,
// AcceptMarks with its SamplePeriod, and whether it is a pulse recording at
// all (recording_plausibility.h).
RecordingVerdict CheckRecording(const PulsogramRecord& record, MarkTable& marks);
// CheckRecording(...).accepted().
bool MarkAndAccept(const PulsogramRecord& record, MarkTable& marks);

// What the check screen and saving say about a recording the sensor cut
// short: that it ended early, and how many seconds of it came.
QString CutShortText(const PulsogramRecord& record, QChar decimalSeparator);

// The reason text for a verdict; empty unless the recording is implausible.
QString RejectionReason(const RecordingVerdict& verdict, const PulsogramRecord& record,
                        QChar decimalSeparator);

}  // namespace sfigmo
