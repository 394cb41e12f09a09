#include "csv_export.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>
#include <memory>
#include <span>
#include <thread>
#include <tuple>

#include "analysis/conclusion_rules.h"
#include "analysis/indices.h"
#include "analysis/record_judgement.h"
#include "analysis/result_validity.h"
#include "record_time.h"
#include "record/short_string.h"

namespace sfigmo {
namespace {

// The stored value when the analysis could have produced it; a recording
// that is not accepted makes every value of the block suspect.
std::optional<double> Usable(const AnalysisResults& s, double AnalysisResults::*member,
                             bool accepted) {
  if (!accepted) return std::nullopt;
  for (const ResultRange& range : ResultRanges()) {
    if (range.Member == member && ResultValuePlausible(range, s.*member)) return s.*member;
  }
  return std::nullopt;
}

std::string Quality(const SignalQuality& q) {
  if (!q.doubtful) return "good";
  std::string text = "doubtful (";
  for (std::size_t i = 0; i < q.reasons.size(); ++i) {
    text += i ? ", " : "";
    text += Label(q.reasons[i]).word;
  }
  return text + ")";
}

}  // namespace

CsvFormat LocaleCsvFormat(char decimalSeparator) {
  return decimalSeparator == ',' ? CsvFormat{';', ','} : CsvFormat{',', '.'};
}

std::string CsvFormatProblem(const CsvFormat& f) {
  auto bad = [](char c) { return c == '"' || c == '\r' || c == '\n' || c == '\0'; };
  if (bad(f.Separator)) return "разделителем полей не может быть кавычка или конец строки";
  if (f.Decimal != '.' && f.Decimal != ',') return "десятичный знак — только «.» или «,»";
  if (f.Separator == f.Decimal) return "разделитель полей совпадает с десятичным знаком";
  if ((f.Separator >= '0' && f.Separator <= '9') || f.Separator == '-' || f.Separator == '+' ||
      f.Separator == 'e' || f.Separator == 'E') {
    return "разделитель полей не может быть частью числа";
  }
  return "";
}

CsvRow CsvRowOf(const std::string& file, const PulsogramRecord& record) {
  CsvRow row;
  row.File = file;
  row.When = StoredDateTime(record);
  row.Name = GetShortString(record.PatientName);
  row.Age = GetShortString(record.PatientAge);
  row.Sex = GetShortString(record.PatientSex);

  const RecordJudgement judgement = JudgeRecord(record);
  row.Accepted = judgement.Accepted();
  row.RejectedBy = std::string(judgement.RejectedBy());
  if (judgement.HasQuality) row.Quality = Quality(judgement.Quality);
  if (judgement.Rhythm) row.Rhythm = Label(*judgement.Rhythm).word;

  // The archive's own values, as the trends show them; a record that is not
  // accepted has none.
  const AnalysisResults& s = record.Results;
  const bool accepted = judgement.Accepted();
  const double toso = TOSO(s);
  const bool tosoOk = accepted && TosoPlausible(s) && std::isfinite(toso);
  using R = AnalysisResults;
  row.Indices = {Usable(s, &R::PULS, accepted),
                 Usable(s, &R::VRKI, accepted),
                 Usable(s, &R::KOVR, accepted),
                 Usable(s, &R::KOLP, accepted),
                 Usable(s, &R::KOLE, accepted),
                 Usable(s, &R::SPSO, accepted),
                 tosoOk ? std::optional<double>(toso) : std::nullopt,
                 Usable(s, &R::NAGR, accepted)};
  // No score from a block that holds a damaged value, as on the screen.
  if (judgement.ResultsUsable()) row.Score = ConclusionScore(s);
  return row;
}

void SortByDate(std::vector<CsvRow>& rows) {
  auto key = [](const CsvRow& r) {
    const DateTimeParts w = r.When.value_or(DateTimeParts{});
    return std::make_tuple(!r.When.has_value(), w.Year, w.Month, w.Day, w.Hour, w.Minute, w.Second);
  };
  std::stable_sort(rows.begin(), rows.end(), [&](const CsvRow& a, const CsvRow& b) {
    const auto ka = key(a), kb = key(b);
    return ka != kb ? ka < kb : a.File < b.File;
  });
}

std::string CsvNumber(double value, char decimal) {
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, value);
  std::string out(text, result.ptr);
  std::replace(out.begin(), out.end(), '.', decimal);
  return out;
}

std::string CsvField(std::string_view text, char separator) {
  if (text.find_first_of(std::string{separator, '"', '\r', '\n'}) == std::string_view::npos) {
    return std::string(text);
  }
  std::string out = "\"";
  for (char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

std::string CsvTextField(std::string_view text, char separator) {
  // A spreadsheet runs a cell that starts like a formula; a name or file
  // name from someone else's archive must stay text.
  if (!text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos) {
    return CsvField("'" + std::string(text), separator);
  }
  return CsvField(text, separator);
}

std::string CsvHeader(const CsvFormat& f) {
  std::string line;
  for (const char* name :
       {"file", "date", "time", "name", "age", "sex", "accepted", "signal quality", "rhythm"}) {
    line += CsvField(name, f.Separator) + f.Separator;
  }
  for (const char* name : kCsvIndices) line += CsvField(name, f.Separator) + f.Separator;
  return line + "score" + f.Separator + CsvField("rejected by", f.Separator) + "\r\n";
}

std::string CsvLine(const CsvRow& r, const CsvFormat& f) {
  const char sep = f.Separator;
  std::string line;
  auto add = [&](std::string_view text) { line += CsvField(text, sep) + sep; };
  auto addText = [&](std::string_view text) { line += CsvTextField(text, sep) + sep; };
  addText(r.File);
  add(r.When ? IsoDate(*r.When) : "");
  add(r.When ? IsoTime(*r.When) : "");
  addText(r.Name);
  addText(r.Age);
  addText(r.Sex);
  add(r.Accepted ? "yes" : "no");
  add(r.Quality);
  add(r.Rhythm);
  for (const std::optional<double>& v : r.Indices) add(v ? CsvNumber(*v, f.Decimal) : "");
  line += r.Score ? std::to_string(*r.Score) : "";
  return line + sep + CsvField(r.RejectedBy, sep) + "\r\n";
}

CsvTable BuildCsvTable(const std::vector<std::filesystem::path>& files, const CsvFormat& format) {
  // Each record is judged on its own (the signal-quality check is most of
  // the work), so the files are shared out among the cores; every result
  // goes to its file's slot, which keeps the output the same on any machine.
  std::vector<std::optional<CsvRow>> slots(files.size());
  std::vector<StorageError> errors(files.size());
  std::atomic<std::size_t> next{0};
  auto work = [&] {
    auto record = std::make_unique<PulsogramRecord>();
    for (std::size_t i; (i = next.fetch_add(1, std::memory_order_relaxed)) < files.size();) {
      errors[i] = ReadRecord(files[i], *record);
      if (errors[i].ok()) slots[i] = CsvRowOf(files[i].string(), *record);
    }
  };
  const std::size_t workers = std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 8);
  {
    std::vector<std::jthread> pool;
    for (std::size_t w = 1; w < std::min(workers, files.size()); ++w) pool.emplace_back(work);
    work();
  }  // joined here

  CsvTable table;
  std::vector<CsvRow> rows;
  rows.reserve(files.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (slots[i]) {
      rows.push_back(std::move(*slots[i]));
    } else {
      table.Errors.push_back(errors[i]);
    }
  }
  SortByDate(rows);
  table.Text = CsvHeader(format);
  for (const CsvRow& row : rows) table.Text += CsvLine(row, format);
  table.Rows = rows.size();
  return table;
}

}  // namespace sfigmo
