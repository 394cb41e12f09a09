#pragma once
// The measurement's date and time read back from a stored header
// ("26_12_07_" and "09_05_03"). A header that does not hold a real calendar
// date and clock time (a damaged file, a record never saved) gives none.

#include <optional>
#include <string>

#include "record/pulsogram_record.h"
#include "storage/save_name.h"

namespace sfigmo {

// Years are 2000 + the stored two digits, as the program saves them.
std::optional<DateTimeParts> StoredDateTime(const PulsogramRecord& record);

// "2026-12-07" and "09:05:03" (ISO 8601).
std::string IsoDate(const DateTimeParts& when);
std::string IsoTime(const DateTimeParts& when);

}  // namespace sfigmo
