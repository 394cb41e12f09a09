#include "report_text.h"

#include <cmath>
#include <sstream>

#include "analysis/result_validity.h"
#include "common/format_general.h"

namespace sfigmo {
namespace {

// Header text comes from a file: keep line breaks of the note readable and
// never pass control bytes of a damaged record to the terminal.
std::string Printable(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      out += " / ";
      ++i;
    } else if (c < 0x20 || c == 0x7F) {
      out += '?';
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace

std::string ReportText(const RecordReport& r, char sep) {
  auto num = [sep](double v, int digits = 6) { return FormatGeneral(v, digits, 0, sep); };
  std::ostringstream out;
  for (const auto& [name, text] : r.Header) out << name << ": " << Printable(text) << '\n';
  out << "Gain: " << r.Gain << '\n';
  out << "SampleCount: " << r.StoredSampleCount;
  if (r.UsedSampleCount != r.StoredSampleCount) {
    out << " (больше " << kMaxSamples << ", взято " << r.UsedSampleCount << ")";
  }
  out << "\nSamplePeriod: " << num(r.SamplePeriod, 15) << '\n';
  out << "MarkMin: " << r.Marks.MarkMin << '\n';
  out << "Marks (" << r.Marks.count() << "):";
  for (const BeatMark& m : r.Marks.Marks) out << ' ' << m.Index;
  out << '\n';
  if (r.Accepted()) {
    out << "Запись принята\n";
    out << "Качество сигнала: ";
    if (r.Quality.doubtful) {
      out << "сомнительное (";
      for (std::size_t i = 0; i < r.Quality.reasons.size(); ++i)
        out << (i ? ", " : "") << Label(r.Quality.reasons[i]).word;
      out << "): " << QualityReasonText(r.Quality) << '\n';
    } else {
      out << "хорошее\n";
    }
    out << "Пульс по форме волны: "
        << (std::isfinite(r.Quality.independentPULS) ? num(r.Quality.independentPULS, 3)
                                                     : std::string("не определяется"))
        << '\n';
    if (r.Rhythm)
      out << "Ритм: " << Label(*r.Rhythm).word << " (" << Label(*r.Rhythm).text << ")\n";
  } else if (r.Verdict.implausible != Implausible::None) {
    out << "Запись отклонена (" << r.RejectedBy()
        << "): " << ImplausibleText(r.Verdict, r.SamplePeriod, sep) << '\n';
  } else {
    out << "Запись отклонена (" << r.RejectedBy() << "): " << Label(r.Rejected).text << '\n';
  }

  if (r.FromStoredBlock) {
    out << (r.Accepted() ? "Результаты, записанные в файле:\n"
                         : "Результаты, записанные в файле, не используются: запись не принята\n");
  }
  if (r.Calculated) out << "Результаты расчёта:\n";
  for (const AnalysisResultField& f : kAnalysisResultFields) {
    if (!HasResult(r, f)) continue;
    out << "  " << f.Name << " = " << (ResultDamaged(r, f) ? "-" : num(r.Results.*f.Member))
        << '\n';
  }
  if (!r.DamagedFields.empty()) {
    out << kDamagedResultsText << " (недопустимые значения:";
    for (const std::string& name : r.DamagedFields) out << ' ' << name;
    out << ")\n";
  }
  if (r.Calculated && r.Stop != CalcStop::Completed) {
    out << "Расчёт остановлен (" << Label(r.Stop).word << "): " << Label(r.Stop).text << '\n';
  }
  if (!r.HasConclusion) return out.str();

  out << "  TOSO = " << num(r.Toso) << '\n';
  out << "Заключение:\n";
  for (const VerdictLine& line : r.Verdicts) {
    out << "  " << line.Text;
    if (line.Value) out << ' ' << num(*line.Value, 3);
    out << '\n';
  }
  out << "ConclusionScore: " << r.Score << '\n';
  out << "PressureEstimate: " << num(r.Pressure) << '\n';
  out << (r.Advice ? "НЕОБХОДИМ КОНТРОЛЬ\n" : "Контроль не требуется\n");
  return out.str();
}

}  // namespace sfigmo
