#pragma once
// The recording check: marks the beats of a recording and judges whether it
// can be analysed; its screens are in screens/check_screen.h. Plain C++.

#include "analysis/beat_marking.h"
#include "analysis/recording_plausibility.h"
#include "record/pulsogram_record.h"

namespace sfigmo {

// Samples per frame for outer width W: round((W - 15) / 2), ties to even.
int FrameWidth(int outerWidth);

// Marks and judges `record`: MarkBeats over its usable samples into `marks`,
// AcceptMarks with its SamplePeriod, and whether it is a pulse recording at
// all (recording_plausibility.h).
RecordingVerdict CheckRecording(const PulsogramRecord& record, MarkTable& marks);
// CheckRecording(...).accepted().
bool MarkAndAccept(const PulsogramRecord& record, MarkTable& marks);

}  // namespace sfigmo
