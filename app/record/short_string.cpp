#include "record/short_string.h"

#include <algorithm>
#include <cstring>

namespace sfigmo {

std::string GetShortString(std::span<const std::uint8_t> field) {
  if (field.empty()) return {};
  const std::size_t capacity = field.size() - 1;
  const std::size_t length = std::min<std::size_t>(field[0], capacity);
  return Cp1251ToUtf8(std::string_view(reinterpret_cast<const char*>(field.data() + 1), length));
}

std::optional<EncodingFailure> SetShortString(std::span<std::uint8_t> field,
                                              std::string_view utf8) {
  if (field.empty()) return std::nullopt;
  Cp1251Text text = Utf8ToCp1251(utf8);
  if (text.Failure) return text.Failure;
  const std::size_t capacity = std::min<std::size_t>(field.size() - 1, 255);
  const std::size_t length = std::min(text.Bytes.size(), capacity);
  field[0] = static_cast<std::uint8_t>(length);
  std::memcpy(field.data() + 1, text.Bytes.data(), length);
  return std::nullopt;
}

}  // namespace sfigmo
