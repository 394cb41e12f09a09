#pragma once
// The archive as one CSV table: a row per record with its date, patient,
// acceptance, signal quality and rhythm reading (the record's judgement,
// made afresh from the samples), the stored indices, the conclusion's score
// and, last, why a record was not accepted. RFC 4180 quoting, CR LF line
// ends, UTF-8. Pure functions, any thread.

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "record/pulsogram_record.h"
#include "storage/record_file.h"
#include "storage/save_name.h"

namespace sfigmo {

struct CsvFormat {
  char Separator = ',';
  char Decimal = '.';
};

// What spreadsheets of the user's locale expect: ";" between fields where the
// decimal mark is ",", else ",".
CsvFormat LocaleCsvFormat(char decimalSeparator);

// Why a separator/decimal pair cannot give a readable table (Russian, UTF-8);
// empty when it can.
std::string CsvFormatProblem(const CsvFormat& format);

// The index columns in order.
inline constexpr std::array<const char*, 8> kCsvIndices = {"PULS", "VRKI", "KOVR", "KOLP",
                                                           "KOLE", "SPSO", "TOSO", "NAGR"};

struct CsvRow {
  std::string File;
  std::optional<DateTimeParts> When;  // none for a damaged header
  std::string Name, Age, Sex;
  bool Accepted = false;
  std::string RejectedBy;  // the judgement's word ("period", "beats", ...); empty when accepted
  std::string Quality;  // "good", "doubtful (reasons)"; empty for a rejected recording
  std::string Rhythm;   // "regular", "ectopic", "irregular"; empty for a rejected recording
  std::array<std::optional<double>, kCsvIndices.size()> Indices;  // none when damaged
  std::optional<int> Score;  // none when a value it rests on is damaged
};

CsvRow CsvRowOf(const std::string& file, const PulsogramRecord& record);

// Date and time order; records without a date last; ties by file name.
void SortByDate(std::vector<CsvRow>& rows);

std::string CsvHeader(const CsvFormat& format);
std::string CsvLine(const CsvRow& row, const CsvFormat& format);

// The whole table for the record files in `files`, read and judged on as
// many threads as there are cores (one record buffer each), then sorted by
// date. A file that cannot be read has no row; its error is kept, in the
// order of `files`. Call from one thread at a time.
struct CsvTable {
  std::string Text;
  std::size_t Rows = 0;
  std::vector<StorageError> Errors;
};
CsvTable BuildCsvTable(const std::vector<std::filesystem::path>& files, const CsvFormat& format);

// Shortest text that reads back as the same double, with `decimal` as mark.
std::string CsvNumber(double value, char decimal);
// The field quoted when it holds the separator, a quote, CR or LF.
std::string CsvField(std::string_view text, char separator);
// A text field as CsvField, with a leading apostrophe where the text would
// start a spreadsheet formula (=, +, -, @, tab, CR).
std::string CsvTextField(std::string_view text, char separator);

}  // namespace sfigmo
