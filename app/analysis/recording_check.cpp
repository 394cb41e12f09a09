#include "analysis/recording_check.h"

#include <cmath>
#include <utility>

#include "analysis/record_judgement.h"

namespace sfigmo {

int FrameWidth(int outerWidth) { return static_cast<int>(std::nearbyint((outerWidth - 15) / 2.0)); }

RecordingVerdict CheckRecording(const PulsogramRecord& record, MarkTable& marks) {
  // The quality is the check screen's own step, on the working marks.
  RecordJudgement judgement = JudgeRecord(record, QualityCheck::Skip);
  marks = std::move(judgement.Marks);
  return judgement.Verdict;
}

bool MarkAndAccept(const PulsogramRecord& record, MarkTable& marks) {
  return CheckRecording(record, marks).accepted();
}

}  // namespace sfigmo
