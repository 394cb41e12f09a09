// CSV export: the table read back with Python's csv module under both
// separators, damaged values as empty fields, date order, a folder of
// 10 000 records.

#include "csv_export.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <limits>
#include <span>
#include <sstream>

#include "analysis/beat_marking.h"
#include "analysis/conclusion_rules.h"
#include "analysis/indices.h"
#include "export_support.h"
#include "record/short_string.h"

namespace sfigmo::test {
namespace {

namespace fs = std::filesystem;
constexpr double kInf = std::numeric_limits<double>::infinity();

const std::vector<std::string> kHeader = {
    "file", "date", "time", "name", "age",  "sex",  "accepted", "signal quality", "rhythm",
    "PULS", "VRKI", "KOVR", "KOLP", "KOLE", "SPSO", "TOSO",     "NAGR",           "score",
    "rejected by"};

// A normal recording with its results computed and stored, as saving leaves it.
std::unique_ptr<PulsogramRecord> SavedRecord(const char* date, const char* time, const char* name) {
  return Calculated(
      RecordBuilder().Wave(NormalRestingWave()).Taken(date, time).Patient(name).Build());
}

double Number(std::string text, char decimal) {
  std::replace(text.begin(), text.end(), decimal, '.');
  return std::strtod(text.c_str(), nullptr);
}

struct Archive {
  TempDir Dir;
  std::vector<std::unique_ptr<PulsogramRecord>> Records;  // in the expected row order
  std::vector<std::string> Files;
};

// Five records whose names sort unlike their dates: hostile values among them.
void MakeArchive(Archive& a) {
  auto add = [&](const char* file, std::unique_ptr<PulsogramRecord> r) {
    a.Files.push_back((a.Dir / file).string());
    Save(a.Dir / file, *r);
    a.Records.push_back(std::move(r));
  };
  auto slow = SavedRecord("24_06_30_", "23_59_59", "Медленный");
  slow->SamplePeriod = 0.6;  // no sensor samples that slowly: every result is suspect
  add("e.pul", std::move(slow));
  add("a.pul", SavedRecord("25_01_02_", "10_00_00", "Иванов \"Ваня\"; мл., 2"));
  auto damaged = SavedRecord("26_01_01_", "00_00_00", "Строка\r\nвторая");
  damaged->Results.PULS = std::nan("");
  damaged->Results.SPSO = kInf;
  damaged->Results.MeanInterval = 0.0;  // TOSO divides by it
  add("c.pul", std::move(damaged));
  add("b.pul", SavedRecord("26_12_07_", "09_05_03", "Образцов Пётр"));
  add("0.pul", SavedRecord("26_02_30_", "09_05_03", "Без даты"));
}

void CheckTable(const Archive& a, const fs::path& csv, char separator, char decimal) {
  const std::string text = FileBytes(csv);
  for (const char* never : {"nan", "NaN", "NAN", "inf", "INF"})
    EXPECT_EQ(text.find(never), std::string::npos) << never;
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  const auto rows = ReadCsv(csv, separator);
  ASSERT_EQ(rows.size(), a.Records.size() + 1);
  EXPECT_EQ(rows[0], kHeader);
  const char* dates[][2] = {{"2024-06-30", "23:59:59"},
                            {"2025-01-02", "10:00:00"},
                            {"2026-01-01", "00:00:00"},
                            {"2026-12-07", "09:05:03"},
                            {"", ""}};
  for (std::size_t i = 0; i < a.Records.size(); ++i) {
    SCOPED_TRACE(i);
    const std::vector<std::string>& row = rows[i + 1];
    const PulsogramRecord& r = *a.Records[i];
    ASSERT_EQ(row.size(), kHeader.size());
    EXPECT_EQ(row[0], a.Files[i]);
    EXPECT_EQ(row[1], dates[i][0]);
    EXPECT_EQ(row[2], dates[i][1]);
    EXPECT_EQ(row[3], GetShortString(r.PatientName));
    EXPECT_EQ(row[4], "45");
    EXPECT_EQ(row[5], "муж");
    const bool slow = r.SamplePeriod == 0.6;
    EXPECT_EQ(row[6], slow ? "no" : "yes");
    EXPECT_EQ(row[7], slow ? "" : "good");
    EXPECT_EQ(row[8], slow ? "" : "regular");
    const AnalysisResults& s = r.Results;
    const double values[] = {s.PULS, s.VRKI, s.KOVR, s.KOLP, s.KOLE, s.SPSO, TOSO(s), s.NAGR};
    for (std::size_t k = 0; k < std::size(values); ++k) {
      SCOPED_TRACE(kHeader[9 + k]);
      if (slow || !std::isfinite(values[k])) {
        EXPECT_EQ(row[9 + k], "");
      } else {
        EXPECT_EQ(row[9 + k].find(decimal == ',' ? '.' : ','), std::string::npos);
        EXPECT_EQ(Number(row[9 + k], decimal), values[k]);  // exact, to the last bit
      }
    }
    const bool scoreDamaged = slow || !std::isfinite(s.PULS);
    EXPECT_EQ(row[17], scoreDamaged ? "" : std::to_string(ConclusionScore(s)));
    EXPECT_EQ(row[18], slow ? "period" : "");
  }
}

TEST(CsvExport, RoundTripsThroughPythonWithEitherSeparator) {
  Archive a;
  MakeArchive(a);
  TempDir locales;
  const std::string russian = RussianNumericEnv(locales);
  struct Case {
    std::string Env;
    std::vector<std::string> Flags;
    char Separator, Decimal;
  };
  std::vector<Case> cases = {
      {"LC_ALL=C.UTF-8", {}, ',', '.'},
      {"LC_ALL=C.UTF-8", {"--separator", ";", "--decimal", ","}, ';', ','},
      {"LC_ALL=C.UTF-8", {"--decimal", ","}, ';', ','},
      {"LC_ALL=C.UTF-8", {"--separator", "tab"}, '\t', '.'},
  };
  if (!russian.empty()) {
    cases.push_back({russian, {}, ';', ','});
    cases.push_back({russian, {"--separator", ",", "--decimal", "."}, ',', '.'});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Env + " sep " + std::string(1, c.Separator));
    const fs::path csv = a.Dir / "out.csv";
    std::vector<std::string> args = {"csv"};
    args.insert(args.end(), c.Flags.begin(), c.Flags.end());
    args.insert(args.end(), {"-o", csv.string()});
    args.insert(args.end(), a.Files.begin(), a.Files.end());
    const RunResult run = RunExport(args, c.Env);
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    CheckTable(a, csv, c.Separator, c.Decimal);
  }
}

TEST(CsvExport, UnreadableFilesAreNamedAndTheRestIsWritten) {
  TempDir dir;
  Save(dir / "good.pul", *SavedRecord("26_12_07_", "09_05_03", "Образцов Пётр"));
  SaveBytes(dir / "short.pul", std::string(100, '\x7F'));
  const RunResult run = RunExport(
      {"csv", "-o", (dir / "t.csv").string(), dir.path().string(), (dir / "missing.pul").string()});
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_NE(run.Err.find("short.pul"), std::string::npos) << run.Err;
  EXPECT_NE(run.Err.find("missing.pul"), std::string::npos) << run.Err;
  EXPECT_EQ(ReadCsv(dir / "t.csv", ',').size(), 2u);
}

TEST(CsvExport, CommandLinesThatCannotWorkAreRefused) {
  TempDir dir;
  Save(dir / "x.pul", *SavedRecord("26_12_07_", "09_05_03", "X"));
  const std::string out = (dir / "t.csv").string(), in = (dir / "x.pul").string();
  const std::vector<std::vector<std::string>> cases = {
      {"csv", "--separator", "\"", "-o", out, in},
      {"csv", "--separator", ",", "--decimal", ",", "-o", out, in},
      {"csv", "--decimal", "x", "-o", out, in},
      {"csv", "--separator", "1", "-o", out, in},
      {"csv", "--separator", ";;", "-o", out, in},
      {"csv", in},
      {"xls", "-o", out, in},
      {"edf", "--decimal", ",", "-o", out, in},
      {}};
  for (const auto& args : cases) {
    const RunResult run = RunExport(args);
    EXPECT_EQ(run.ExitCode, 2) << ::testing::PrintToString(args);
    EXPECT_NE(run.Err.find("Использование"), std::string::npos) << run.Err;
  }
  EXPECT_FALSE(fs::exists(out));
}

TEST(CsvExport, FieldsAreQuotedOnlyWhereRfc4180NeedsIt) {
  const std::tuple<const char*, char, const char*> cases[] = {
      {"plain", ',', "plain"},
      {"a,b", ',', "\"a,b\""},
      {"a,b", ';', "a,b"},
      {"a;b", ';', "\"a;b\""},
      {"say \"hi\"", ';', "\"say \"\"hi\"\"\""},
      {"two\r\nlines", ',', "\"two\r\nlines\""},
      {"", ',', ""},
  };
  for (const auto& [text, sep, quoted] : cases) EXPECT_EQ(CsvField(text, sep), quoted) << text;
  const std::pair<const char*, const char*> texts[] = {
      {"=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\""}, {"+7", "'+7"}, {"-1", "'-1"},
      {"@SUM(A1)", "'@SUM(A1)"}, {"Иванов", "Иванов"}, {"", ""}};
  for (const auto& [text, field] : texts) EXPECT_EQ(CsvTextField(text, ','), field) << text;
  EXPECT_EQ(CsvNumber(72.0251028806584, ','), "72,0251028806584");
  EXPECT_EQ(CsvNumber(0.0523, ','), "0,0523");
  EXPECT_EQ(CsvNumber(0.1, '.'), "0.1");
  EXPECT_EQ(CsvNumber(2.0, ','), "2");
}

// 100 distinct records behind 10 000 names (hard links keep the test quick).
TEST(CsvExport, TenThousandRecordsInDateOrder) {
  TempDir dir;
  const fs::path archive = dir / "DataMLT";
  fs::create_directory(archive);
  fs::create_directory(dir / "distinct");
  for (int i = 0; i < 100; ++i) {
    char date[16], time[16];
    std::snprintf(date, sizeof date, "%02d_%02d_%02d_", 26 - i % 3, 1 + i % 12, 1 + i % 28);
    std::snprintf(time, sizeof time, "%02d_%02d_00", i % 24, i % 60);
    const fs::path one = dir / "distinct" / (std::to_string(i) + ".pul");
    Save(one, *SavedRecord(date, time, "Пациент"));
    for (int k = 0; k < 100; ++k) {
      fs::create_hard_link(one, archive / ("r" + std::to_string(k * 100 + i) + ".pul"));
    }
  }
  const fs::path csv = dir / "all.csv";
  const RunResult run = RunExport({"csv", "-o", csv.string(), archive.string()});
  ASSERT_EQ(run.ExitCode, 0) << run.Err;
  const auto rows = ReadCsv(csv, ',');
  ASSERT_EQ(rows.size(), 10001u);
  for (std::size_t i = 2; i < rows.size(); ++i) {
    ASSERT_LE(rows[i - 1][1] + rows[i - 1][2], rows[i][1] + rows[i][2]) << "row " << i;
  }
}

}  // namespace
}  // namespace sfigmo::test
