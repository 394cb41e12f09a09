#pragma once
// The signal warning of a stored record as extra conclusion lines of the
// report page: the warning with its reason when the recording is doubtful,
// nothing when it is good or rejected.

#include <QString>
#include <QStringList>
#include <string>

#include "analysis/signal_quality.h"
#include "storage/pulsogram_record.h"

namespace sfigmo {

inline QStringList SignalWarningLines(const PulsogramRecord& record) {
  const std::string warning = RecordSignalWarning(record);
  if (warning.empty()) return {};
  return {QString::fromStdString(warning)};
}

}  // namespace sfigmo
