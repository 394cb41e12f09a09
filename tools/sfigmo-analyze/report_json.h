#pragma once
// sfigmo-analyze's JSON line of one record. The text is the compact form
// Qt's JSON writer gave it (keys in code-unit order, the same escapes,
// replacement characters and numbers), which scripts reading the lines
// already know. It is written here directly: building a QJsonObject per
// record and serialising it cost more than the record's whole beat
// marking, and loading Qt alone took 1.3 ms of every process (some 6 µs a
// record in a batch of 200).

#include <string>
#include <string_view>

#include "analysis/record_report.h"

namespace sfigmo {

// One JSON object on one line, without the newline. `file` is UTF-8; any
// malformed sequence in it or in the record's texts is written as U+FFFD.
std::string ReportJson(std::string_view file, const RecordReport& report);

// The JSON text of one value, as that writer writes it.
std::string JsonString(std::string_view utf8);
std::string JsonNumber(double v);  // null when not finite

}  // namespace sfigmo
