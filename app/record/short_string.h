#pragma once
// Short-string fields of a record: byte 0 is the length, then up to the
// field's capacity (its size minus 1) Windows-1251 bytes. The program sees
// UTF-8; conversion happens here and nowhere else.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "record/cp1251.h"

namespace sfigmo {

// The field's text as UTF-8. A length byte beyond the capacity (a damaged
// file) is read as the capacity; the bytes after the text are ignored.
std::string GetShortString(std::span<const std::uint8_t> field);

// Stores `utf8` cut to the capacity in characters and sets the length byte;
// the bytes after the new text keep what they held. A text with a character
// that Windows-1251 lacks (or broken UTF-8) is refused as a whole: the field
// is left untouched and the failure returned.
std::optional<EncodingFailure> SetShortString(std::span<std::uint8_t> field, std::string_view utf8);

}  // namespace sfigmo
