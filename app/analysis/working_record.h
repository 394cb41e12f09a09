#pragma once
// The measurement the main window works on, as every area's actions see it:
// the current and the last stored record, the beat marks and results of the
// current one, its sample period and the check's frame and mark cursor.
// References into the window; main thread only.

#include <memory>

#include "analysis/beat_marking.h"
#include "record/analysis_results.h"
#include "record/pulsogram_record.h"

namespace sfigmo {

struct WorkingRecord {
  std::unique_ptr<PulsogramRecord>& CurrentRecord;
  std::unique_ptr<PulsogramRecord>& BrowseRecord;
  MarkTable& Marks;
  AnalysisResults& Results;
  double& WorkingPeriod;
  int& FrameNumber;
  int& MarkCursor;
  // The sensor stopped answering during the run that made CurrentRecord:
  // its samples end early. Cleared by the next run and by opening a record.
  bool& CutShort;
};

}  // namespace sfigmo
