#include "record/cp1251.h"

#include <array>
#include <cstdint>

namespace sfigmo {
namespace {

// Code points of the bytes 0x80..0xBF; 0xC0..0xFF are А..я in order.
constexpr std::array<char16_t, 64> kHigh = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

constexpr char16_t kUnassigned = 0xFFFD;

char32_t ByteToCode(unsigned char b) {
  if (b < 0x80) return b;
  if (b < 0xC0) return kHigh[b - 0x80];
  return 0x0410 + (b - 0xC0);
}

// Byte for a code point, or -1 when Windows-1251 lacks it.
int CodeToByte(char32_t c) {
  if (c < 0x80) return static_cast<int>(c);
  if (c >= 0x0410 && c <= 0x044F) return static_cast<int>(c - 0x0410 + 0xC0);
  for (std::size_t i = 0; i < kHigh.size(); ++i) {
    if (kHigh[i] != kUnassigned && kHigh[i] == c) return static_cast<int>(0x80 + i);
  }
  return -1;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Strict UTF-8 decoding of one character at `pos`; advances `pos`. Returns
// false on broken input (overlong forms, surrogates, stray continuation bytes).
bool DecodeUtf8(std::string_view s, std::size_t& pos, char32_t& out) {
  const auto b0 = static_cast<unsigned char>(s[pos]);
  int extra = 0;
  char32_t min = 0;
  if (b0 < 0x80) {
    out = b0;
    ++pos;
    return true;
  } else if ((b0 & 0xE0) == 0xC0) {
    extra = 1, out = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    extra = 2, out = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    extra = 3, out = b0 & 0x07, min = 0x10000;
  } else {
    return false;
  }
  if (s.size() - pos <= static_cast<std::size_t>(extra)) return false;
  for (int i = 1; i <= extra; ++i) {
    const auto b = static_cast<unsigned char>(s[pos + i]);
    if ((b & 0xC0) != 0x80) return false;
    out = (out << 6) | (b & 0x3F);
  }
  if (out < min || out > 0x10FFFF || (out >= 0xD800 && out <= 0xDFFF)) return false;
  pos += extra + 1;
  return true;
}

std::string Hex(char32_t c) {
  static const char* digits = "0123456789ABCDEF";
  std::string h;
  for (int shift = c > 0xFFFF ? 20 : 12; shift >= 0; shift -= 4) h += digits[(c >> shift) & 0xF];
  return h;
}

}  // namespace

std::string Cp1251ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (char ch : bytes) AppendUtf8(out, ByteToCode(static_cast<unsigned char>(ch)));
  return out;
}

Cp1251Text Utf8ToCp1251(std::string_view utf8) {
  Cp1251Text result;
  result.Bytes.reserve(utf8.size());
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const std::size_t start = pos;
    char32_t c = 0;
    if (!DecodeUtf8(utf8, pos, c)) {
      result.Failure = EncodingFailure{0, start, true};
      return result;
    }
    const int b = CodeToByte(c);
    if (b < 0) {
      result.Failure = EncodingFailure{c, start, false};
      return result;
    }
    result.Bytes += static_cast<char>(b);
  }
  return result;
}

std::string EncodingFailureText(const EncodingFailure& failure) {
  if (failure.BrokenUtf8) return "Текст содержит повреждённые символы и не может быть сохранён";
  std::string shown;
  AppendUtf8(shown, failure.Character);
  return "Символ «" + shown + "» (U+" + Hex(failure.Character) +
         ") нельзя сохранить в записи: кодировка Windows-1251 его не содержит";
}

}  // namespace sfigmo
