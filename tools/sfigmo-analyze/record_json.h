#pragma once
// One record's report as one compact JSON object (UTF-8, no line end), the
// form `sfigmo-analyze --json` prints. Written directly rather than through
// a JSON document object, which cost as much as the record's analysis, yet
// byte for byte as Qt's compact writer writes it: keys in byte order,
// integers as such, other numbers in their shortest exact form (exponent
// only where that is shorter), NaN and infinities as null.

#include <filesystem>
#include <string>

#include "record_report.h"

namespace sfigmo {

std::string ReportJson(const std::filesystem::path& file, const RecordReport& report);

// One number as the JSON writes it; exposed for its test.
std::string JsonNumber(double v);

}  // namespace sfigmo
