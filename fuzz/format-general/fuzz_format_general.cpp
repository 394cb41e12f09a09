// Any double through FormatGeneral at every digit count (1 to 18, and counts
// outside that range, which are clamped) and every exponent width: the text
// must read back as the value to within the rounding to that many digits,
// be in the form the rule gives (fixed or scientific, no trailing zeros),
// and the integer rounding must stay inside its bounds.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "common/format_general.h"

namespace {

[[noreturn]] void Fail(const char* what, double value, int digits, const std::string& text) {
  std::fprintf(stderr, "%s: value %.17g digits %d text \"%s\"\n", what, value, digits,
               text.c_str());
  std::abort();
}

// Decimal exponent of the first significant digit of a finite non-zero value.
int FirstDigitExponent(double magnitude) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.17e", magnitude);
  return std::atoi(std::strchr(buf, 'e') + 1);
}

void CheckForm(double value, int digits, int minExp, char sep, const std::string& text) {
  const bool negative = value < 0;
  std::string body = negative ? text.substr(1) : text;
  if (negative && text[0] != '-') Fail("sign lost", value, digits, text);
  const std::size_t e = body.find('E');
  const std::string mantissa = body.substr(0, e);
  const std::size_t dot = mantissa.find(sep);
  if (dot != std::string::npos) {
    if (dot + 1 == mantissa.size() || mantissa.back() == '0')
      Fail("trailing zero or separator", value, digits, text);
  }
  const std::size_t intLen = dot == std::string::npos ? mantissa.size() : dot;
  std::string significant;
  for (char ch : mantissa) {
    if (ch != sep && (ch != '0' || !significant.empty())) significant += ch;
  }
  const std::size_t sigDigits = significant.size();
  if (static_cast<int>(sigDigits) > digits) Fail("too many digits", value, digits, text);
  if (e == std::string::npos) {
    if (static_cast<int>(intLen) > digits) Fail("fixed form too wide", value, digits, text);
    return;
  }
  if (intLen != 1 || mantissa[0] == '0') Fail("scientific mantissa", value, digits, text);
  std::string exp = body.substr(e + 1);
  if (!exp.empty() && exp[0] == '-') exp.erase(0, 1);
  if (exp.empty() || static_cast<int>(exp.size()) < minExp ||
      exp.find_first_not_of("0123456789") != std::string::npos)
    Fail("exponent", value, digits, text);
}

void CheckValue(double value, int digits, char sep, const std::string& text) {
  std::string c = text;
  for (char& ch : c) {
    if (ch == sep) ch = '.';
  }
  char* end = nullptr;
  const long double back = std::strtold(c.c_str(), &end);
  if (end != c.c_str() + c.size()) Fail("unreadable", value, digits, text);
  const long double v = value;
  const int e = FirstDigitExponent(std::fabs(value));
  // Half a unit in the last kept digit, plus the 18-digit first step (the
  // two roundings may add up) and the error of reading the text back.
  const long double bound = 0.5L * std::pow(10.0L, e - digits + 1) +
                            0.5L * std::pow(10.0L, e - 17) + std::fabs(v) * 1e-18L;
  if (std::fabs(back - v) > bound) Fail("value not kept", value, digits, text);
}

void CheckRounding(double value, std::int64_t lo, std::int64_t hi) {
  const double r = sfigmo::RoundHalfEven(value);
  if (std::isfinite(value) && (r != std::floor(r) || std::fabs(r - value) > 0.5)) std::abort();
  const std::int64_t c = sfigmo::RoundHalfEvenClamped(value, lo, hi);
  if (c < lo || c > hi) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  double value = 0;
  if (size < sizeof value) return 0;
  std::memcpy(&value, data, sizeof value);
  const std::uint8_t* rest = data + sizeof value;
  const std::size_t restSize = size - sizeof value;
  const char sep = restSize > 0 && (rest[0] & 1) ? '.' : ',';
  const int extraDigits = restSize > 1 ? static_cast<std::int8_t>(rest[1]) : 0;
  std::int64_t lo = 0, hi = 0;
  if (restSize >= 2 + 2 * sizeof lo) {
    std::memcpy(&lo, rest + 2, sizeof lo);
    std::memcpy(&hi, rest + 2 + sizeof lo, sizeof hi);
    if (lo > hi) std::swap(lo, hi);
  }
  CheckRounding(value, lo, hi);

  for (int minExp = 0; minExp <= 4; ++minExp) {
    for (int digits = 1; digits <= 18; ++digits) {
      const std::string text = sfigmo::FormatGeneral(value, digits, minExp, sep);
      if (std::isnan(value)) {
        if (text != "NAN") Fail("NaN", value, digits, text);
        continue;
      }
      if (std::isinf(value)) {
        if (text != (value > 0 ? "INF" : "-INF")) Fail("infinity", value, digits, text);
        continue;
      }
      if (value == 0.0) {
        if (text != "0") Fail("zero", value, digits, text);
        continue;
      }
      CheckForm(value, digits, minExp, sep, text);
      CheckValue(value, digits, sep, text);
    }
  }
  // Counts outside 1..18 are clamped, never undefined.
  const std::string clamped = sfigmo::FormatGeneral(value, extraDigits * 1000, extraDigits, sep);
  if (clamped.empty()) std::abort();
  return 0;
}
