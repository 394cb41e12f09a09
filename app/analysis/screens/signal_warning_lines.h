#pragma once
// The signal warning of a stored record as extra conclusion lines of the
// report page: the warning with its reason when the recording is doubtful,
// the irregular rhythm line when it is good and reads irregular, nothing
// else.

#include <QString>
#include <QStringList>
#include <string>

#include "analysis/rhythm_reading.h"
#include "analysis/signal_quality.h"
#include "storage/pulsogram_record.h"

namespace sfigmo {

inline QStringList SignalWarningLines(const PulsogramRecord& record) {
  QStringList lines;
  for (const std::string& line : {RecordSignalWarning(record), RecordRhythmWarning(record)}) {
    if (!line.empty()) lines << QString::fromStdString(line);
  }
  return lines;
}

}  // namespace sfigmo
