#include "report/report_model.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "analysis/conclusion_rules.h"
#include "analysis/indices.h"
#include "analysis/record_judgement.h"
#include "analysis/result_validity.h"
#include "common/format_general.h"
#include "record/short_string.h"

namespace sfigmo {

namespace {

QString Field(std::span<const std::uint8_t> field) {
  return QString::fromStdString(GetShortString(field));
}

QString Value(double value, int digits, char separator) {
  return QString::fromStdString(FormatGeneral(value, digits, 0, separator));
}

// A damaged stored value prints as "-", never as a number.
QString ShownValue(const AnalysisResults& r, double AnalysisResults::*member, int digits,
                   char separator) {
  return QString::fromStdString(
      ShownResult(r, member, [&](double v) { return FormatGeneral(v, digits, 0, separator); }));
}

// The characters at 1-based positions first..last that the text has.
QString Chars(const QString& text, int first, int last) {
  return text.mid(first - 1, last - first + 1);
}

}  // namespace

int MmToDevice(int mm, int dpi) {
  // mm * dpi / 25.4 == mm * dpi * 5 / 127, exact in 64 bits.
  const std::int64_t num = static_cast<std::int64_t>(mm) * dpi * 5;
  std::int64_t q = num / 127;
  std::int64_t r = num % 127;
  if (r < 0) {  // floor division
    r += 127;
    --q;
  }
  if (2 * r > 127) ++q;  // 127 is odd: an exact half cannot occur
  return static_cast<int>(std::clamp<std::int64_t>(q, INT_MIN, INT_MAX));
}

QStringList ReportVerdicts(const AnalysisResults& r) {
  const Verdicts v = VerdictsOf(r);
  QStringList lines;
  if (v.HardPulse) lines << QString::fromUtf8(v.HardPulse->Report);
  if (v.Rate) lines << QString::fromUtf8(v.Rate->Text.Report);
  for (const VerdictText* text : {v.Interruptions, v.Rhythm, v.Load})
    lines << QString::fromUtf8(text->Report);
  return lines;
}

QString ReportHeaderLine(const QString& dateText, const QString& timeText) {
  const QString date =
      Chars(dateText, 7, 8) + u'.' + Chars(dateText, 4, 5) + u'.' + Chars(dateText, 1, 2) + u',';
  QString time = timeText;
  for (int i : {2, 5})
    if (i < time.size()) time[i] = u':';
  return date + u' ' + time;
}

QString AgeWord(const QString& age) {
  const QChar last = age.isEmpty() ? QChar() : age.back();
  if (last == u'1') return QStringLiteral("год");
  if (last == u'2' || last == u'3' || last == u'4') return QStringLiteral("года");
  return QStringLiteral("лет");
}

QString ReportPatientLine(const QString& name, const QString& age) {
  if (age.isEmpty()) return name;
  return name + QStringLiteral(", ") + age + u' ' + AgeWord(age);
}

QString TosoText(const AnalysisResults& r, int digits, char separator) {
  // Without a sound mean interval there is no tone to show (dividing by zero
  // would print an infinity as if it were a result).
  if (r.MeanInterval == 0 || !TosoPlausible(r)) return QStringLiteral("-");
  return Value(TOSO(r), digits, separator);
}

ReportPageText BuildReportPage(const PulsogramRecord& record, const ReportPageOptions& options) {
  const char sep = options.DecimalSeparator;
  const AnalysisResults& r = record.Results;
  ReportPageText page;
  page.HeaderLine = ReportHeaderLine(Field(record.DateText), Field(record.TimeText));
  page.PatientLine = ReportPatientLine(Field(record.PatientName), Field(record.PatientAge));

  double AnalysisResults::*const values[8] = {&AnalysisResults::PULS,
                                              &AnalysisResults::VRKI,
                                              &AnalysisResults::KOVR,
                                              &AnalysisResults::SPSO,
                                              nullptr,
                                              &AnalysisResults::NAGR,
                                              &AnalysisResults::KOLP,
                                              &AnalysisResults::KOLE};
  // A record the check does not accept gets no numbers and no conclusion,
  // only the reason, whatever its stored block holds.
  const RecordJudgement judgement = JudgeRecord(record, QualityCheck::Skip);
  for (std::size_t i = 0; i < ReportIndexTable.size(); ++i) {
    const ReportIndexRow& row = ReportIndexTable[i];
    ReportRow& out = page.Rows[i];
    out.Name = QString::fromUtf8(row.Name);
    out.Unit = QString::fromUtf8(row.Unit);
    out.Norm = QString::fromUtf8(row.Norm);
    if (!judgement.Accepted())
      out.Value = QStringLiteral("-");
    else
      out.Value = i == 4 ? TosoText(r, row.Digits, sep) : ShownValue(r, values[i], row.Digits, sep);
  }

  QStringList lines;
  if (!judgement.Accepted()) {
    lines << QStringLiteral("Запись не принята: ") +
                 QString::fromStdString(judgement.RejectionText(record.SamplePeriod, sep));
  } else {
    lines = judgement.ResultsSound() ? ReportVerdicts(r)
                                     : QStringList{QString::fromUtf8(kDamagedResultsText)};
    for (const QString& extra : options.ExtraConclusionLines)
      if (!extra.trimmed().isEmpty()) lines << extra;
  }
  for (int n = 0; n < lines.size(); ++n)
    page.ConclusionLines << QString::number(n + 1) + QStringLiteral(". ") + lines[n];
  return page;
}

}  // namespace sfigmo
