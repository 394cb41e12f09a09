#include "report_json.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QLocale>
#include <QString>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <concepts>
#include <utility>
#include <vector>

namespace sfigmo {
namespace {

// 2^53: whole numbers up to it are written as integers, like Qt's writer.
constexpr double kExactWhole = 9007199254740992.0;

void AppendEscaped(std::string& out, std::string_view utf8) {
  static constexpr char kHex[] = "0123456789abcdef";
  for (const char c : utf8) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x20 && c != '"' && c != '\\') {
      out += c;
      continue;
    }
    out += '\\';
    switch (c) {
      case '"': out += '"'; break;
      case '\\': out += '\\'; break;
      case '\b': out += 'b'; break;
      case '\f': out += 'f'; break;
      case '\n': out += 'n'; break;
      case '\r': out += 'r'; break;
      case '\t': out += 't'; break;
      default:
        out += "u00";
        out += kHex[u >> 4];
        out += kHex[u & 0xf];
    }
  }
}

void AppendString(std::string& out, std::string_view utf8) {
  out += '"';
  if (QByteArrayView(utf8.data(), static_cast<qsizetype>(utf8.size())).isValidUtf8()) {
    AppendEscaped(out, utf8);
  } else {
    // Qt's own decoder decides how many replacement characters stand for
    // each malformed sequence.
    const QByteArray mended =
        QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())).toUtf8();
    AppendEscaped(out, std::string_view(mended.constData(), static_cast<std::size_t>(mended.size())));
  }
  out += '"';
}

template <std::integral Int>
void AppendInteger(std::string& out, Int v) {
  char text[24];
  const auto end = std::to_chars(std::begin(text), std::end(text), v).ptr;
  out.append(text, end);
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
    // Past 2^53 Qt writes the shortest digits and then zeros, not the
    // exact integer the standard library writes.
    out += QByteArray::number(v, 'g', QLocale::FloatingPointShortest).toStdString();
  }
}

// An object's members as JSON text, written with their keys sorted; of a
// key given twice the last value counts.
class ObjectText {
 public:
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
  o.Member("Marks") = ArrayText(r.Marks.Marks, [](std::string& out, const BeatMark& m) {
    AppendInteger(out, m.Index);
  });
  o.Bool("Accepted", r.Accepted());
  o.WordOrNull("RejectedBy", r.RejectedBy());
  o.WordOrNull("StoppedAt", r.Calculated ? Label(r.Stop).word : std::string_view());
  o.WordOrNull("Rhythm", r.Rhythm ? Label(*r.Rhythm).word : std::string_view());
  if (r.HasQuality) {
    o.String("SignalQuality", r.Quality.doubtful ? "doubtful" : "good");
    o.Member("QualityReasons") =
        ArrayText(r.Quality.reasons, [](std::string& out, QualityReason reason) {
          AppendString(out, Label(reason).word);
        });
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
    o.Member("DamagedResults") = ArrayText(
        r.DamagedFields, [](std::string& out, const std::string& name) { AppendString(out, name); });
  }
  if (r.HasConclusion) {
    o.Number("TOSO", r.Toso);
    o.Member("Verdicts") = ArrayText(
        r.Verdicts, [](std::string& out, const VerdictLine& line) { AppendString(out, line.Text); });
    o.Integer("ConclusionScore", r.Score);
    o.Number("PressureEstimate", r.Pressure);
    o.Bool("Advice", r.Advice);
  }
  return o.Text();
}

}  // namespace sfigmo
