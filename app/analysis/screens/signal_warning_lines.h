#pragma once
// The signal warning of a stored record as extra conclusion lines of the
// report page: the warning with its reason when the recording is doubtful,
// the irregular rhythm line when it is good and reads irregular, nothing
// else.

#include <QString>
#include <QStringList>
#include <string>

#include "analysis/record_judgement.h"
#include "record/pulsogram_record.h"

namespace sfigmo {

// One judgement of the record: marked, accepted and assessed once.
inline QStringList SignalWarningLines(const PulsogramRecord& record) {
  const std::string line = WarningLine(JudgeRecord(record));
  return line.empty() ? QStringList() : QStringList{QString::fromStdString(line)};
}

}  // namespace sfigmo
