#pragma once
// What the report page says about one stored measurement: the header line,
// the patient line, the eight index rows and the numbered conclusion lines,
// all as finished texts. Pure (QtCore only); the drawing lives in
// report_page.h. Any thread.

#include <QString>
#include <QStringList>
#include <array>

#include "analysis/clinical_rules.h"
#include "record/pulsogram_record.h"

namespace sfigmo {

// mm * dpi / 25.4 rounded to the nearest integer, a half going to the even
// neighbour. Computed exactly in integers, so huge inputs cannot overflow.
int MmToDevice(int mm, int dpi);

struct ReportIndexRow {
  const char* Name;  // UTF-8
  const char* Unit;  // empty: nothing is drawn
  const char* Norm;
  int Digits;  // significant digits of the value
};

// The eight rows in page order. Row 2's and row 6's unit is the Latin "c",
// row 4's the Cyrillic "с", as the printed form has them.
inline constexpr std::array<ReportIndexRow, 8> ReportIndexTable{{
    {"Пульс", "уд/мин", kPulsNorm.ReportText, 2},
    {"Вариационных размах", "c", kVrkiNorm.ReportText, 4},
    {"Коэффициент вариации", "%", kKovrNorm.ReportText, 4},
    {"Сопротивление сосудов", "с", kSpsoNorm.ReportText, 2},
    {"Тонус сосудов", "%", kTosoNorm.ReportText, 2},
    {"Время максимальной нагрузки", "c", kNagrNorm.ReportText, 2},
    {"Количество пауз", "", kCountNorm.ReportText, 2},
    {"Количество экстрасистол", "", kCountNorm.ReportText, 2},
}};

struct ReportRow {
  QString Name;
  QString Value;
  QString Unit;
  QString Norm;
};

struct ReportPageText {
  QString HeaderLine;   // "25.12.08, 10:15:30"
  QString PatientLine;  // "Иванов, 67 лет"
  std::array<ReportRow, 8> Rows;
  QStringList ConclusionLines;  // numbered: "1. Частота пульса в норме"
};

// What a caller may add to the page.
struct ReportPageOptions {
  // Decimal separator of the values: the caller's, as the user's language
  // writes numbers.
  char DecimalSeparator = '.';
  // Lines numbered on after the verdicts, in the given order (for example a
  // warning about a doubtful recording). Unnumbered text; empty lines are
  // skipped.
  QStringList ExtraConclusionLines;
};

// The verdict texts in page order: the hard-pulse line (only for a hard
// pulse), the pulse rate (left out for a NaN rate: no band holds), the
// interruptions, the rhythm and the myocardial load.
QStringList ReportVerdicts(const AnalysisResults& results);

// "25.12.08, 10:15:30" from the stored "08_12_25_" and "10_15_30"; a damaged
// field gives what its characters allow, never more.
QString ReportHeaderLine(const QString& dateText, const QString& timeText);

// The name, then ", <age> <word>" when the age is not empty.
QString ReportPatientLine(const QString& name, const QString& age);

// "год", "года" or "лет" by the age text's last character alone.
QString AgeWord(const QString& age);

// TOSO's text: "-" when MeanInterval is 0 (a record without results) or an
// input is damaged, otherwise the value with `digits` significant digits.
QString TosoText(const AnalysisResults& results, int digits, char decimalSeparator);

// Damaged stored values are "-", and a damaged block gets the one line that
// says so in place of the verdicts. A record the check does not accept
// (record_judgement.h) shows every value as "-" and only the reason.
ReportPageText BuildReportPage(const PulsogramRecord& record,
                               const ReportPageOptions& options = {});

}  // namespace sfigmo
