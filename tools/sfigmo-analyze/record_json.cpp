#include "record_json.h"

#include <QString>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sfigmo {

namespace {

// Whole numbers up to 2^53 are kept as integers by Qt's JSON value and
// written without an exponent.
constexpr double kExactWhole = 9007199254740992.0;

// The shortest digits that read back as `v`, then written in decimal unless
// the exponent form is shorter (Qt's "g" with the shortest precision).
std::string Shortest(double v) {
  char buffer[40];
  const char* end =
      std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::scientific).ptr;
  const std::string_view text(buffer, static_cast<std::size_t>(end - buffer));  // -d.ddde±xx
  const bool negative = text.front() == '-';
  const std::size_t e = text.find('e');
  std::string digits;
  for (char c : text.substr(negative, e - negative)) {
    if (c != '.') digits += c;
  }
  int exponent = 0;
  std::from_chars(text.data() + e + 2, text.data() + text.size(), exponent);
  if (text[e + 1] == '-') exponent = -exponent;
  const int n = static_cast<int>(digits.size());
  const int point = exponent + 1;  // digits before the decimal point
  const int scientificLength = n + (n > 1) + 2 + (std::abs(exponent) >= 100 ? 3 : 2);
  const int decimalLength = point <= 0 ? 2 - point + n : point < n ? n + 1 : point;
  std::string out = negative ? "-" : "";
  if (decimalLength <= scientificLength) {
    if (point <= 0) {
      out += "0." + std::string(static_cast<std::size_t>(-point), '0') + digits;
    } else if (point >= n) {
      out += digits + std::string(static_cast<std::size_t>(point - n), '0');
    } else {
      out += digits.substr(0, static_cast<std::size_t>(point)) + '.' +
             digits.substr(static_cast<std::size_t>(point));
    }
  } else {
    out += digits.substr(0, 1);
    if (n > 1) out += '.' + digits.substr(1);
    out += exponent < 0 ? "e-" : "e+";
    if (std::abs(exponent) < 10) out += '0';
    out += std::to_string(std::abs(exponent));
  }
  return out;
}

void AppendString(std::string& out, const std::string& text) {
  // Read as Qt reads UTF-8: an invalid sequence becomes U+FFFD, as before.
  const QByteArray utf8 = QString::fromStdString(text).toUtf8();
  out += '"';
  for (const char c : utf8) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\b':
        out += "\\b";
        break;
      case '\f':
        out += "\\f";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

std::string Quoted(const std::string& text) {
  std::string out;
  AppendString(out, text);
  return out;
}

std::string NameOrNull(const char* name) { return name ? Quoted(name) : "null"; }

std::string Bool(bool b) { return b ? "true" : "false"; }

template <typename Range, typename Write>
std::string Array(const Range& items, Write write) {
  std::string out = "[";
  for (const auto& item : items) {
    if (out.size() > 1) out += ',';
    out += write(item);
  }
  return out + "]";
}

}  // namespace

std::string JsonNumber(double v) {
  if (!std::isfinite(v)) return "null";  // JSON has no NaN or infinity
  if (v == std::trunc(v) && std::fabs(v) <= kExactWhole) {
    return std::to_string(static_cast<long long>(v));
  }
  return Shortest(v);
}

std::string ReportJson(const std::filesystem::path& file, const RecordReport& r) {
  std::vector<std::pair<std::string_view, std::string>> o;
  o.emplace_back("file", Quoted(file.string()));
  for (const auto& [name, text] : r.Header) o.emplace_back(name, Quoted(text));
  o.emplace_back("Gain", std::to_string(r.Gain));
  o.emplace_back("SampleCount", std::to_string(r.StoredSampleCount));
  o.emplace_back("SamplePeriod", JsonNumber(r.SamplePeriod));
  o.emplace_back("MarkMin", std::to_string(r.Marks.MarkMin));
  o.emplace_back("Marks",
                 Array(r.Marks.Marks, [](const BeatMark& m) { return std::to_string(m.Index); }));
  o.emplace_back("Accepted", Bool(r.Rejected == Rejection::None));
  o.emplace_back("RejectedBy", NameOrNull(RejectionName(r.Rejected)));
  o.emplace_back("StoppedAt", NameOrNull(r.Calculated ? CalcStopName(r.Stop) : nullptr));
  if (r.HasQuality) {
    o.emplace_back("SignalQuality", Quoted(r.Quality.doubtful ? "doubtful" : "good"));
    o.emplace_back("QualityReasons", Array(r.Quality.reasons, Quoted));
    o.emplace_back("IndependentPULS", JsonNumber(r.Quality.independentPULS));
  }
  for (const ResultField& f : ResultFields()) {
    if (HasResult(r, f)) o.emplace_back(f.Name, JsonNumber(r.Results.*f.Member));
  }
  if (r.HasConclusion) {
    o.emplace_back("TOSO", JsonNumber(r.Toso));
    o.emplace_back("Verdicts",
                   Array(r.Verdicts, [](const VerdictLine& line) { return Quoted(line.Text); }));
    o.emplace_back("ConclusionScore", std::to_string(r.Score));
    o.emplace_back("PressureEstimate", JsonNumber(r.Pressure));
    o.emplace_back("Advice", Bool(r.Advice));
  }
  // A JSON object's keys in byte order, as Qt keeps them.
  std::stable_sort(o.begin(), o.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::string out = "{";
  for (const auto& [key, value] : o) {
    if (out.size() > 1) out += ',';
    out += '"';
    out += key;
    out += "\":";
    out += value;
  }
  return out + "}";
}

}  // namespace sfigmo
