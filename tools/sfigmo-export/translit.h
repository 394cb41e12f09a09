#pragma once
// Cyrillic to ASCII by GOST 7.79-2000 system B (the ISO 9 transliteration
// with Latin letter pairs instead of diacritics), for the header fields of
// formats that must stay 7-bit. Pure; any thread.

#include <string>
#include <string_view>
#include <vector>

namespace sfigmo {

// Every letter Windows-1251 holds is transliterated; a capital gives a
// capital pair ("Ж" -> "Zh", "ЖУК" -> "ZHUK"). Quotes and dashes become their
// ASCII forms, control characters a blank, anything else "?". The result is
// printable ASCII (32..126) only. `utf8` must be valid UTF-8 (as the record's
// text reader gives it); a broken sequence counts as one unknown character.
std::string TransliterateToAscii(std::string_view utf8);

// The same, one piece per character of `utf8` (a letter's whole Latin
// spelling), so that a text can be shortened between letters, never inside
// "shh" or "yo".
std::vector<std::string> TransliteratedLetters(std::string_view utf8);

// The longest piece TransliteratedLetters gives ("shh", "...").
inline constexpr std::size_t kMaxLetterSpelling = 3;

}  // namespace sfigmo
