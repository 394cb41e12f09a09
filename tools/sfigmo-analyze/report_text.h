#pragma once
// sfigmo-analyze's human-readable report of one record.

#include <string>

#include "analysis/record_report.h"

namespace sfigmo {

// Numbers with FormatGeneral and `decimalSeparator`.
std::string ReportText(const RecordReport& report, char decimalSeparator);

}  // namespace sfigmo
