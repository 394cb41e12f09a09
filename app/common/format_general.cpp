#include "common/format_general.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace sfigmo {
namespace {

// Decimal digits of |value| and the decimal exponent of the first digit,
// taken to 18 significant digits (what an 80-bit extended value carried).
struct Decimal {
  std::string digits;  // no leading zero; 18 digits
  int exponent = 0;    // value = 0.d1d2... * 10^(exponent + 1)
};

Decimal ToDecimal18(double magnitude) {
  std::array<char, 64> buf{};
  // Locale-independent: the C locale's "%.17e" would change with LC_NUMERIC.
  auto res = std::to_chars(buf.data(), buf.data() + buf.size(), magnitude,
                           std::chars_format::scientific, 17);
  Decimal d;
  const char* p = buf.data();
  for (; p != res.ptr && *p != 'e'; ++p) {
    if (*p >= '0' && *p <= '9') d.digits.push_back(*p);
  }
  if (p != res.ptr) std::from_chars(p + 1 + (p[1] == '+'), res.ptr, d.exponent);
  return d;
}

// Cuts the digit string to `keep` digits, an exact half going away from zero;
// a carry out of the first digit moves the exponent up. Trailing zeros go
// even when nothing is cut (18 digits of an exact value such as 2.5).
void RoundDigits(Decimal& d, int keep) {
  const bool cut = static_cast<int>(d.digits.size()) > keep;
  const bool up = cut && d.digits[keep] >= '5';
  if (cut) d.digits.resize(keep);
  if (up) {
    int i = keep - 1;
    for (; i >= 0 && d.digits[i] == '9'; --i) d.digits[i] = '0';
    if (i >= 0) {
      ++d.digits[i];
    } else {
      d.digits.insert(d.digits.begin(), '1');
      d.digits.pop_back();
      ++d.exponent;
    }
  }
  while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
}

std::string FixedText(const Decimal& d, char sep) {
  std::string out;
  if (d.exponent >= 0) {
    const std::size_t intLen = static_cast<std::size_t>(d.exponent) + 1;
    std::string digits = d.digits;
    if (digits.size() < intLen) digits.append(intLen - digits.size(), '0');
    out = digits.substr(0, intLen);
    if (digits.size() > intLen) out += sep + digits.substr(intLen);
  } else {
    out = "0";
    out += sep;
    out.append(static_cast<std::size_t>(-d.exponent - 1), '0');
    out += d.digits;
  }
  return out;
}

std::string ScientificText(const Decimal& d, int minExpDigits, char sep) {
  std::string out(1, d.digits[0]);
  if (d.digits.size() > 1) out += sep + d.digits.substr(1);
  out += 'E';
  if (d.exponent < 0) out += '-';
  std::string exp = std::to_string(std::abs(d.exponent));
  if (static_cast<int>(exp.size()) < minExpDigits) {
    exp.insert(0, static_cast<std::size_t>(minExpDigits) - exp.size(), '0');
  }
  return out + exp;
}

}  // namespace

std::string FormatGeneral(double value, int digits, int minExpDigits, char decimalSeparator) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  if (value == 0.0) return "0";
  digits = std::clamp(digits, 1, 18);
  minExpDigits = std::clamp(minExpDigits, 0, 4);

  Decimal d = ToDecimal18(std::fabs(value));
  RoundDigits(d, digits);
  const std::string sign = value < 0 ? "-" : "";
  // Fixed when the rounded integer part fits and the rounded value is not
  // below 0.0001 (exponent -4 or more).
  if (d.exponent < digits && d.exponent >= -4) return sign + FixedText(d, decimalSeparator);
  return sign + ScientificText(d, minExpDigits, decimalSeparator);
}

double RoundHalfEven(double value) {
  if (!std::isfinite(value)) return value;
  const double below = std::floor(value);
  const double fraction = value - below;  // exact for every finite double
  if (fraction > 0.5) return below + 1.0;
  if (fraction < 0.5) return below;
  return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

std::int64_t RoundHalfEvenClamped(double value, std::int64_t lo, std::int64_t hi) {
  if (std::isnan(value)) return lo;
  const double r = RoundHalfEven(value);
  // Compare in double before converting: a value beyond the int64 range
  // must never reach the conversion.
  if (r <= static_cast<double>(lo)) return lo;
  if (r >= static_cast<double>(hi)) return hi;
  return static_cast<std::int64_t>(r);
}

}  // namespace sfigmo
