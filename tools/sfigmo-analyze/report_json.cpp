#include "report_json.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <concepts>
#include <utility>
#include <vector>

namespace sfigmo {
namespace {

// 2^53: whole numbers up to it are written as integers, as Qt's writer did.
constexpr double kExactWhole = 9007199254740992.0;

void AppendEscaped(std::string& out, std::string_view utf8) {
  static constexpr char kHex[] = "0123456789abcdef";
  const auto plain = [](char c) {
    return static_cast<unsigned char>(c) >= 0x20 && c != '"' && c != '\\';
  };
  for (auto at = utf8.begin(); at != utf8.end(); ++at) {
    // Runs of characters that need no escape go in whole.
    const auto run = std::find_if_not(at, utf8.end(), plain);
    out.append(at, run);
    if (run == utf8.end()) break;
    at = run;
    const char c = *at;
    const auto u = static_cast<unsigned char>(c);
    out += '\\';
    switch (c) {
      case '"':
        out += '"';
        break;
      case '\\':
        out += '\\';
        break;
      case '\b':
        out += 'b';
        break;
      case '\f':
        out += 'f';
        break;
      case '\n':
        out += 'n';
        break;
      case '\r':
        out += 'r';
        break;
      case '\t':
        out += 't';
        break;
      default:
        out += "u00";
        out += kHex[u >> 4];
        out += kHex[u & 0xf];
    }
  }
}

// Length of the well-formed UTF-8 sequence at s[i] (1 to 4), 0 when none
// starts there: no overlong forms, surrogates or code points past U+10FFFF.
std::size_t SequenceAt(std::string_view s, std::size_t i) {
  const auto at = [&](std::size_t k) -> unsigned {
    return i + k < s.size() ? static_cast<unsigned char>(s[i + k]) : 0x100u;
  };
  const auto follows = [&](std::size_t k, unsigned lo = 0x80, unsigned hi = 0xbf) {
    return at(k) >= lo && at(k) <= hi;
  };
  const unsigned b = at(0);
  if (b < 0x80) return 1;
  if (b >= 0xc2 && b <= 0xdf) return follows(1) ? 2 : 0;
  if (b >= 0xe0 && b <= 0xef) {
    const bool second = b == 0xe0   ? follows(1, 0xa0)
                        : b == 0xed ? follows(1, 0x80, 0x9f)
                                    : follows(1);
    return second && follows(2) ? 3 : 0;
  }
  if (b >= 0xf0 && b <= 0xf4) {
    const bool second = b == 0xf0   ? follows(1, 0x90)
                        : b == 0xf4 ? follows(1, 0x80, 0x8f)
                                    : follows(1);
    return second && follows(2) && follows(3) ? 4 : 0;
  }
  return 0;
}

void AppendString(std::string& out, std::string_view utf8) {
  out += '"';
  // Each byte that starts no well-formed sequence becomes one U+FFFD, as
  // Qt's decoder made it.
  std::size_t from = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    const std::size_t length = static_cast<unsigned char>(utf8[i]) < 0x80 ? 1 : SequenceAt(utf8, i);
    if (length > 0) {
      i += length;
      continue;
    }
    AppendEscaped(out, utf8.substr(from, i - from));
    out += "\xef\xbf\xbd";
    from = ++i;
  }
  AppendEscaped(out, utf8.substr(from));
  out += '"';
}

template <std::integral Int>
void AppendInteger(std::string& out, Int v) {
  char text[24];
  const auto end = std::to_chars(std::begin(text), std::end(text), v).ptr;
  out.append(text, end);
}

// A magnitude of 2^53 or more, fixed or scientific as the shorter is (like
// std::to_chars), but fixed as the shortest digits and then zeros, not the
// exact integer.
void AppendWide(std::string& out, double v) {
  char text[32];
  char* end = std::to_chars(std::begin(text), std::end(text), v).ptr;
  if (std::find(text, end, 'e') != end) {
    out.append(text, end);
    return;
  }
  end = std::to_chars(std::begin(text), std::end(text), v, std::chars_format::scientific).ptr;
  const std::string_view sci(text, static_cast<std::size_t>(end - text));  // -d.ddde+XX
  const std::size_t e = sci.find('e');
  int exponent = 0;
  std::from_chars(sci.data() + e + 2, end, exponent);  // never negative here
  std::size_t digits = 0;
  for (const char c : sci.substr(0, e)) {
    if (c != '.') out += c;
    digits += c >= '0' && c <= '9';
  }
  out.append(static_cast<std::size_t>(exponent + 1) - digits, '0');
}

void AppendNumber(std::string& out, double v) {
  // JSON has no NaN or infinity: a damaged record's non-finite value is null.
  if (!std::isfinite(v)) {
    out += "null";
  } else if (std::fabs(v) <= kExactWhole && v == std::trunc(v)) {
    AppendInteger(out, static_cast<long long>(v));  // -0 too is "0"
  } else if (std::fabs(v) < kExactWhole) {
    char text[32];
    const auto end = std::to_chars(std::begin(text), std::end(text), v).ptr;
    out.append(text, end);
  } else {
    AppendWide(out, v);
  }
}

// An object's members as JSON text, written with their keys sorted; of a
// key given twice the last value counts.
class ObjectText {
 public:
  ObjectText() { members_.reserve(64); }  // a report has some fifty members

  std::string& Member(std::string_view key) {
    members_.emplace_back(key, std::string());
    return members_.back().second;
  }
  void String(std::string_view key, std::string_view utf8) { AppendString(Member(key), utf8); }
  void Number(std::string_view key, double v) { AppendNumber(Member(key), v); }
  void Integer(std::string_view key, long long v) { AppendInteger(Member(key), v); }
  void Bool(std::string_view key, bool v) { Member(key) = v ? "true" : "false"; }
  void WordOrNull(std::string_view key, std::string_view word) {
    if (word.empty()) {
      Member(key) = "null";
    } else {
      String(key, word);
    }
  }

  std::string Text() {
    std::stable_sort(members_.begin(), members_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::size_t size = 2;
    for (const auto& [key, value] : members_) size += key.size() + value.size() + 4;
    std::string out;
    out.reserve(size);
    out += '{';
    for (std::size_t i = 0; i < members_.size(); ++i) {
      if (i + 1 < members_.size() && members_[i + 1].first == members_[i].first) continue;
      if (out.size() > 1) out += ',';
      AppendString(out, members_[i].first);
      out += ':';
      out += members_[i].second;
    }
    out += '}';
    return out;
  }

 private:
  std::vector<std::pair<std::string_view, std::string>> members_;
};

template <typename Items, typename Append>
std::string ArrayText(const Items& items, Append append) {
  std::string out = "[";
  for (const auto& item : items) {
    if (out.size() > 1) out += ',';
    append(out, item);
  }
  out += ']';
  return out;
}

}  // namespace

std::string JsonString(std::string_view utf8) {
  std::string out;
  AppendString(out, utf8);
  return out;
}

std::string JsonNumber(double v) {
  std::string out;
  AppendNumber(out, v);
  return out;
}

std::string ReportJson(std::string_view file, const RecordReport& r) {
  ObjectText o;
  o.String("file", file);
  for (const auto& [name, text] : r.Header) o.String(name, text);
  o.Integer("Gain", r.Gain);
  o.Integer("SampleCount", r.StoredSampleCount);
  o.Number("SamplePeriod", r.SamplePeriod);
  o.Integer("MarkMin", r.Marks.MarkMin);
  o.Member("Marks") = ArrayText(
      r.Marks.Marks, [](std::string& out, const BeatMark& m) { AppendInteger(out, m.Index); });
  o.Bool("Accepted", r.Accepted());
  o.WordOrNull("RejectedBy", r.RejectedBy());
  o.WordOrNull("StoppedAt", r.Calculated ? Label(r.Stop).word : std::string_view());
  o.WordOrNull("Rhythm", r.Rhythm ? Label(*r.Rhythm).word : std::string_view());
  if (r.HasQuality) {
    o.String("SignalQuality", r.Quality.doubtful ? "doubtful" : "good");
    o.Member("QualityReasons") = ArrayText(
        r.Quality.reasons,
        [](std::string& out, QualityReason reason) { AppendString(out, Label(reason).word); });
    o.Number("IndependentPULS", r.Quality.independentPULS);
  }
  for (const AnalysisResultField& f : kAnalysisResultFields) {
    if (!HasResult(r, f)) continue;
    if (ResultDamaged(r, f)) {
      o.Member(f.Name) = "null";
    } else {
      o.Number(f.Name, r.Results.*f.Member);
    }
  }
  if (!r.DamagedFields.empty()) {
    o.Member("DamagedResults") =
        ArrayText(r.DamagedFields,
                  [](std::string& out, const std::string& name) { AppendString(out, name); });
  }
  if (r.HasConclusion) {
    o.Number("TOSO", r.Toso);
    o.Member("Verdicts") = ArrayText(r.Verdicts, [](std::string& out, const VerdictLine& line) {
      AppendString(out, line.Text);
    });
    o.Integer("ConclusionScore", r.Score);
    o.Number("PressureEstimate", r.Pressure);
    o.Bool("Advice", r.Advice);
  }
  return o.Text();
}

}  // namespace sfigmo
