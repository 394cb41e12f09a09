#include "translit.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>

namespace sfigmo {
namespace {

struct Decoded {
  char32_t Code = 0;
  std::size_t Length = 1;
};

Decoded DecodeUtf8(std::string_view s, std::size_t i) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  auto cont = [&](std::size_t k) {
    return i + k < s.size() && (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80;
  };
  auto bits = [&](std::size_t k) { return static_cast<char32_t>(s[i + k] & 0x3F); };
  if (b0 < 0x80) return {b0, 1};
  if ((b0 & 0xE0) == 0xC0 && cont(1)) return {(char32_t(b0 & 0x1F) << 6) | bits(1), 2};
  if ((b0 & 0xF0) == 0xE0 && cont(1) && cont(2))
    return {(char32_t(b0 & 0x0F) << 12) | (bits(1) << 6) | bits(2), 3};
  if ((b0 & 0xF8) == 0xF0 && cont(1) && cont(2) && cont(3))
    return {(char32_t(b0 & 0x07) << 18) | (bits(1) << 12) | (bits(2) << 6) | bits(3), 4};
  return {0xFFFD, 1};
}

// The lower-case form of a Cyrillic capital, or nothing.
std::optional<char32_t> LowerCyrillic(char32_t c) {
  if (c >= 0x0410 && c <= 0x042F) return c + 0x20;  // А..Я
  if (c >= 0x0400 && c <= 0x040F) return c + 0x50;  // Ѐ..Џ
  if (c == 0x0490) return char32_t{0x0491};         // Ґ
  return std::nullopt;
}

bool IsLowerCyrillic(char32_t c) { return (c >= 0x0430 && c <= 0x045F) || c == 0x0491; }

struct Spelling {
  char32_t Code;
  const char* Text;
};

const char* Find(std::span<const Spelling> table, char32_t c) {
  const auto it =
      std::find_if(table.begin(), table.end(), [c](const Spelling& s) { return s.Code == c; });
  return it == table.end() ? nullptr : it->Text;
}

// System B for the lower-case letters beyond а..я that Windows-1251 holds.
constexpr Spelling kOtherLetters[] = {
    {0x0451, "yo"},
    {0x0454, "ye"},
    {0x0455, "z`"},
    {0x0456, "i"},
    {0x0457, "yi"},
    {0x0458, "j"},
    {0x0453, "g`"},
    {0x0491, "g`"},
    {0x0459, "l`"},
    {0x045A, "n`"},
    {0x045C, "k`"},
    {0x045E, "u`"},
    {0x045F, "dh"},
    // Serbian letters the table leaves out: their usual Latin spelling.
    {0x0452, "dj"},
    {0x045B, "c"},
    {0x0450, "e"},
    {0x045D, "i"}};

// Punctuation of Windows-1251 outside ASCII.
constexpr Spelling kPunctuation[] = {
    {0x00AB, "\""}, {0x00BB, "\""},  {0x201C, "\""},  {0x201D, "\""},  {0x201E, "\""},
    {0x2018, "'"},  {0x2019, "'"},   {0x201A, "'"},   {0x2013, "-"},   {0x2014, "-"},
    {0x00AD, "-"},  {0x00A0, " "},   {0x2026, "..."}, {0x2116, "No"},  {0x00B7, "."},
    {0x2022, "."},  {0x00B0, "deg"}, {0x00B1, "+-"},  {0x00A9, "(c)"}, {0x00AE, "(R)"},
    {0x2122, "TM"}, {0x20AC, "EUR"}, {0x2030, "%o"},  {0x00A6, "|"},   {0x00A7, "S"},
    {0x00B5, "u"},  {0x00B6, "P"},   {0x2020, "+"},   {0x2021, "++"},  {0x2039, "<"},
    {0x203A, ">"},  {0x00A4, "$"}};

// System B for a lower-case letter; nullptr when it is none. "ц" depends
// on its successor and is handled by the caller.
const char* LowerLatin(char32_t c) {
  static constexpr const char* kBasic[32] = {
      "a", "b", "v", "g", "d", "e", "zh", "z",  "i",  "j",   "k",  "l",  "m", "n",  "o",  "p",
      "r", "s", "t", "u", "f", "x", "cz", "ch", "sh", "shh", "``", "y`", "`", "e`", "yu", "ya"};
  if (c >= 0x0430 && c <= 0x044F) return kBasic[c - 0x0430];
  return Find(kOtherLetters, c);
}

bool IsUpperLetter(char32_t c) { return (c >= 'A' && c <= 'Z') || LowerCyrillic(c).has_value(); }
bool IsLetter(char32_t c) {
  return IsUpperLetter(c) || (c >= 'a' && c <= 'z') || IsLowerCyrillic(c);
}

// "ц" is "c" before е, и, ы, й (and і, є), "cz" elsewhere.
bool SoftensTse(char32_t next) {
  const char32_t n = LowerCyrillic(next).value_or(next);
  return n == 0x0435 || n == 0x0438 || n == 0x044B || n == 0x0439 || n == 0x0456 || n == 0x0454;
}

}  // namespace

std::string TransliterateToAscii(std::string_view utf8) {
  std::string out;
  for (const std::string& piece : TransliteratedLetters(utf8)) out += piece;
  return out;
}

std::vector<std::string> TransliteratedLetters(std::string_view utf8) {
  std::u32string text;
  for (std::size_t i = 0; i < utf8.size();) {
    const Decoded d = DecodeUtf8(utf8, i);
    text.push_back(d.Code);
    i += d.Length;
  }
  std::vector<std::string> out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char32_t c = text[i];
    const char32_t next = i + 1 < text.size() ? text[i + 1] : 0;
    if (c >= 0x20 && c < 0x7F) {
      out.emplace_back(1, static_cast<char>(c));
      continue;
    }
    if (c < 0x20 || c == 0x7F) {
      out.emplace_back(" ");
      continue;
    }
    const std::optional<char32_t> lower = LowerCyrillic(c);
    const char32_t small = lower.value_or(c);
    const char* latin = small == 0x0446 && SoftensTse(next) ? "c" : LowerLatin(small);
    if (!latin) {
      const char* mark = Find(kPunctuation, c);
      out.emplace_back(mark ? mark : "?");
      continue;
    }
    std::string pair = latin;
    if (lower) {
      // A capital in an all-capital word gives an all-capital pair.
      const char32_t prev = i > 0 ? text[i - 1] : 0;
      const bool wordInCapitals = IsLetter(next) ? IsUpperLetter(next) : IsUpperLetter(prev);
      for (std::size_t k = 0; k < pair.size(); ++k) {
        if (k == 0 || wordInCapitals) {
          pair[k] = static_cast<char>(std::toupper(static_cast<unsigned char>(pair[k])));
        }
      }
    }
    out.push_back(std::move(pair));
  }
  return out;
}

}  // namespace sfigmo
