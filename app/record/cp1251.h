#pragma once
// Windows-1251 <-> UTF-8 at the record's boundary: the .pul file holds
// single-byte Windows-1251 text, the program works in UTF-8.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace sfigmo {

// Why a text cannot be stored: a character Windows-1251 lacks, or bytes that
// are not UTF-8 at all.
struct EncodingFailure {
  char32_t Character = 0;  // the refused character (0 for broken UTF-8)
  std::size_t Offset = 0;  // byte offset in the UTF-8 input
  bool BrokenUtf8 = false;
};

// Every byte has a meaning except 0x98, which Windows-1251 leaves unassigned;
// a damaged file's 0x98 reads as U+FFFD.
std::string Cp1251ToUtf8(std::string_view bytes);

// Converts the whole text or reports the first character it cannot hold.
// Never substitutes a character.
struct Cp1251Text {
  std::string Bytes;
  std::optional<EncodingFailure> Failure;
};
Cp1251Text Utf8ToCp1251(std::string_view utf8);

// Russian message for the user, naming the refused character.
std::string EncodingFailureText(const EncodingFailure& failure);

}  // namespace sfigmo
