// EDF+ export: every file read back by edf_read.py (written from the
// format's definition, not from the writer), the rate and duration exact,
// the beats where the marking puts them, damaged records annotated or
// refused with a message.

#include "edf_export.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <span>

#include "analysis/beat_marking.h"
#include "analysis/indices.h"
#include "analysis/result_validity.h"
#include "csv_export.h"
#include "export_support.h"
#include "hostile_records.h"
#include "record/short_string.h"
#include "translit.h"

namespace sfigmo::test {
namespace {

namespace fs = std::filesystem;

std::vector<QJsonObject> AnnotationsNamed(const QJsonObject& edf, const QString& text) {
  std::vector<QJsonObject> found;
  for (const QJsonValue& a : edf["annotations"].toArray())
    if (a.toObject()["text"].toString() == text) found.push_back(a.toObject());
  return found;
}

bool HasAnnotationStarting(const QJsonObject& edf, const QString& prefix) {
  for (const QJsonValue& a : edf["annotations"].toArray())
    if (a.toObject()["text"].toString().startsWith(prefix)) return true;
  return false;
}

SampleWave RhythmWave() {
  SampleWave w = NormalRestingWave();
  w.Intervals.assign(10, 72);
  w.Intervals.push_back(150);  // a pause
  w.Intervals.push_back(72);
  w.Intervals.push_back(30);  // an extrasystole
  w.Intervals.insert(w.Intervals.end(), 8, 72);
  return w;
}

struct EdfCase {
  const char* Name;
  std::unique_ptr<PulsogramRecord> Record;
  const char* Outcome;  // the acceptance annotation's start
};

std::vector<EdfCase> EdfCases() {
  std::vector<EdfCase> cases;
  cases.push_back({"normal", Calculated(RecordOf(NormalRestingWave())), "Recording accepted"});
  auto odd = RecordOf(NormalRestingWave());
  odd->SamplePeriod = 0.0200123;  // 49.969 Hz: no short record gives it exactly
  cases.push_back({"odd-period", std::move(odd), "Recording accepted"});
  auto prime = RecordOf(NormalRestingWave());
  prime->SamplePeriod = 0.0218;
  prime->SampleCount = 2027;  // prime: the whole wave in one data record
  cases.push_back({"prime-count", std::move(prime), "Recording accepted"});
  cases.push_back({"rhythm", RecordOf(RhythmWave()), "Recording accepted"});
  SampleWave quiet = NormalRestingWave();
  quiet.Depth = 10;
  quiet.Peak = 5;
  cases.push_back({"rejected", RecordOf(quiet), "Recording rejected: signal amplitude"});
  auto huge = RecordOf(NormalRestingWave());
  huge->SampleCount = 65535;  // damaged: more than the record holds
  cases.push_back({"damaged-count", std::move(huge), "Recording accepted"});
  auto undated = RecordOf(NormalRestingWave());
  SetShortString(undated->DateText, "26_13_40_");
  SetShortString(undated->PatientName, "Щукин Цезарь «Эх» Ёжиков");
  SetShortString(undated->PatientSex, "ж");
  SetShortString(undated->PatientAge, "");
  undated->Results.PULS = std::nan("");
  undated->Results.IntervalSD = -std::numeric_limits<double>::infinity();
  cases.push_back({"damaged-date", std::move(undated), "Recording accepted"});
  return cases;
}

TEST(EdfExport, EveryFileReadsBackWithItsWaveBeatsAndFindings) {
  for (EdfCase& c : EdfCases()) {
    SCOPED_TRACE(c.Name);
    TempDir dir;
    const PulsogramRecord& record = *c.Record;
    Save(dir / (std::string(c.Name) + ".pul"), record);
    const RunResult run = RunExport({"edf", "-o", (dir / "out").string(), dir.path().string()});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const QJsonObject edf = ReadEdf(dir / "out" / (std::string(c.Name) + ".edf"));
    ASSERT_FALSE(edf.isEmpty());

    // The wave, value for value.
    const int n = UsableSampleCount(record);
    const std::span<const std::int32_t> samples(record.Samples, static_cast<std::size_t>(n));
    const QJsonArray stored = edf["samples"].toArray();
    ASSERT_EQ(stored.size(), n);
    for (int k = 0; k < n; ++k) ASSERT_EQ(stored[k].toInt(), samples[k]) << "sample " << k + 1;

    // Rate and duration as the record's period gives them.
    const QJsonObject wave = edf["signals"].toArray()[0].toObject();
    const double perRecord = wave["spr"].toInt();
    const double duration = edf["duration"].toDouble();
    const double rate = perRecord / duration;
    EXPECT_LT(std::fabs(rate * record.SamplePeriod - 1.0), kMaxRateError) << rate;
    EXPECT_NEAR(edf["records"].toInt() * duration, n * record.SamplePeriod,
                n * record.SamplePeriod * kMaxRateError);
    EXPECT_EQ(wave["label"].toString(), "Pulse wave diff");
    EXPECT_EQ(wave["dimension"].toString(), "px");
    EXPECT_TRUE(wave["transducer"].toString().endsWith(QString("gain %1").arg(record.Gain)));
    EXPECT_EQ(wave["physmin"].toDouble(), wave["digmin"].toDouble());
    EXPECT_EQ(wave["physmax"].toDouble(), wave["digmax"].toDouble());

    // One "Beat" per mark, on its sample.
    const MarkTable marks = MarkBeats(samples);
    const std::vector<QJsonObject> beats = AnnotationsNamed(edf, "Beat");
    ASSERT_EQ(beats.size(), marks.Marks.size());
    for (std::size_t j = 0; j < beats.size(); ++j) {
      const double at = beats[j]["onset"].toDouble() * rate + 1.0;
      EXPECT_LE(std::fabs(at - marks.Marks[j].Index), 1.0) << "mark " << j + 1;
    }
    EXPECT_TRUE(HasAnnotationStarting(edf, c.Outcome));

    // Pauses and extrasystoles where the rhythm stage counts them.
    AnalysisResults results;
    const bool accepted = AcceptMarks(marks, record.SamplePeriod) == Rejection::None;
    const CalcStop stop = ComputeAll(samples, marks, record.SamplePeriod, results);
    const std::size_t pauses = AnnotationsNamed(edf, "Pause").size();
    const std::size_t extras = AnnotationsNamed(edf, "Extrasystole").size();
    if (accepted && stop != CalcStop::Rhythm1) {
      EXPECT_EQ(pauses, results.KOLP);
      EXPECT_EQ(extras, results.KOLE);
      EXPECT_TRUE(HasAnnotationStarting(edf, "Signal quality "));
    } else {
      EXPECT_EQ(pauses + extras, 0u);
    }
    if (std::string(c.Name) == "rhythm") {
      EXPECT_GE(pauses, 1u);
      EXPECT_GE(extras, 1u);
      for (const QJsonObject& p : AnnotationsNamed(edf, "Pause"))
        EXPECT_GT(p["duration"].toDouble(), 1.0);
    }
  }
}

TEST(EdfExport, HeaderCarriesDatePatientAndDamageNotes) {
  TempDir dir;
  std::vector<EdfCase> cases = EdfCases();
  for (const EdfCase& c : cases) Save(dir / (std::string(c.Name) + ".pul"), *c.Record);
  const RunResult run = RunExport({"edf", "-o", (dir / "out").string(), dir.path().string()});
  ASSERT_EQ(run.ExitCode, 0) << run.Err;

  const QJsonObject normal = ReadEdf(dir / "out" / "normal.edf");
  EXPECT_EQ(normal["startdate"].toString(), "07.12.26");
  EXPECT_EQ(normal["starttime"].toString(), "09.05.03");
  EXPECT_EQ(normal["patient"].toString(), "X M X Obrazczov_Pyotr Age:45");
  EXPECT_TRUE(normal["recording"].toString().startsWith("Startdate 07-DEC-2026 X X sfigmo"));
  EXPECT_EQ(AnnotationsNamed(normal, "Signal quality good").size(), 1u);
  EXPECT_EQ(AnnotationsNamed(normal, "Rhythm regular").size(), 1u);

  const QJsonObject undated = ReadEdf(dir / "out" / "damaged-date.edf");
  EXPECT_EQ(undated["startdate"].toString(), "01.01.85");
  EXPECT_TRUE(undated["recording"].toString().startsWith("Startdate X "));
  EXPECT_EQ(undated["patient"].toString(), "X F X Shhukin_Cezar`_\"E`x\"_Yozhikov");
  EXPECT_TRUE(HasAnnotationStarting(undated, "Damaged record: start date"));
  EXPECT_EQ(
      AnnotationsNamed(undated, "Damaged record: stored results damaged: PULS, IntervalSD").size(),
      1u);
  EXPECT_FALSE(HasAnnotationStarting(normal, "Damaged record"));

  const QJsonObject huge = ReadEdf(dir / "out" / "damaged-count.edf");
  EXPECT_TRUE(HasAnnotationStarting(huge, "Damaged record: SampleCount 65535 exceeds 10901"));
  EXPECT_NE(run.Err.find("damaged-count.pul"), std::string::npos) << run.Err;
}

TEST(EdfExport, UnusableRecordsAreRefusedWithAMessageAndTheOthersStillWritten) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const char* Name;
    double Period;
    int Count;
    std::int32_t Sample;
    const char* Reason;
  };
  const Case cases[] = {
      {"nan-period", kNaN, -1, 0, "период отсчётов"},
      {"zero-period", 0.0, -1, 0, "период отсчётов"},
      {"negative-period", -0.01, -1, 0, "период отсчётов"},
      {"slow-period", 0.6, -1, 0, "период отсчётов"},
      {"empty", 0.01, 0, 0, "нет отсчётов"},
      {"wide-sample", 0.01, -1, 40000, "16-битного"},
      {"too-short", 0.01234567, 10, 0, "слишком коротка"},
  };
  TempDir dir;
  Save(dir / "good.pul", *RecordOf(NormalRestingWave()));
  SaveBytes(dir / "short.pul", std::string(kRecordSize - 1, '\0'));
  for (const Case& c : cases) {
    auto record = RecordOf(NormalRestingWave());
    record->SamplePeriod = c.Period;
    if (c.Count >= 0) record->SampleCount = static_cast<std::uint16_t>(c.Count);
    if (c.Sample) record->Samples[100] = c.Sample;
    Save(dir / (std::string(c.Name) + ".pul"), *record);
  }
  const RunResult run = RunExport({"edf", "-o", (dir / "out").string(), dir.path().string()});
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_TRUE(fs::exists(dir / "out" / "good.edf"));
  EXPECT_FALSE(fs::exists(dir / "out" / "short.edf"));
  EXPECT_NE(run.Err.find("short.pul"), std::string::npos) << run.Err;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_FALSE(fs::exists(dir / "out" / (std::string(c.Name) + ".edf")));
    const std::string line =
        "«" + (dir / (std::string(c.Name) + ".pul")).string() + "» не выгружен: ";
    const auto at = run.Err.find(line);
    ASSERT_NE(at, std::string::npos) << run.Err;
    EXPECT_NE(run.Err.substr(at, run.Err.find('\n', at) - at).find(c.Reason), std::string::npos);
  }
}

// The record's one judgement in both exports: a record that is no pulse
// recording is refused by EDF; CSV lists every record that is not accepted
// as "no" with the reason, and none of its healthy-looking stored values.
TEST(EdfExport, RecordsTheJudgementRefusesAreRefusedOrListedAsNotAccepted) {
  for (const HostileRecord& h : HostileRecords()) {
    SCOPED_TRACE(h.Name);
    const EdfExport edf = ExportEdf(*h.Record);
    if (h.NotPulseRecording) {
      EXPECT_NE(edf.Refusal, EdfRefusal::None);
      EXPECT_FALSE(EdfRefusalText(edf.Refusal).empty());
      EXPECT_TRUE(edf.Bytes.empty());
    } else {
      EXPECT_NE(edf.Bytes.find("Recording rejected"), std::string::npos);
      EXPECT_EQ(edf.Bytes.find("Recording accepted"), std::string::npos);
    }
    const CsvRow row = CsvRowOf(h.Name, *h.Record);
    EXPECT_FALSE(row.Accepted);
    EXPECT_EQ(row.RejectedBy, h.RejectedBy);
    EXPECT_EQ(row.Quality, "");
    for (const auto& value : row.Indices) EXPECT_FALSE(value);
    EXPECT_FALSE(row.Score);
    const std::string line = CsvLine(row, {});
    EXPECT_EQ(line.substr(line.size() - 2 - std::strlen(h.RejectedBy) - 1),
              "," + std::string(h.RejectedBy) + "\r\n");
  }
  const auto healthy = HealthyRecording();
  EXPECT_EQ(ExportEdf(*healthy).Refusal, EdfRefusal::None);
  EXPECT_EQ(CsvRowOf("h", *healthy).Score, 100);
}

TEST(EdfExport, DataRecordKeepsTheRateWithinTheBound) {
  struct Case {
    int Count;
    double Period;
    int PerRecord;  // 0: only the bound is checked
  };
  const Case cases[] = {
      {2036, 0.01, 509},     // 5.09 s, the first divisor lasting a second
      {2000, 0.02, 50},      // exactly 1 s
      {2027, 0.0218, 2027},  // prime
      {640, 0.0200123, 0},  {10901, kMaxSamplePeriod, 0}, {316, 0.019876543210987, 0},
      {25, 0.0210, 25},  // 0.525 s in one record: 0.525 is exact
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Count);
    SCOPED_TRACE(c.Period);
    const auto layout = ChooseDataRecord(c.Count, c.Period);
    ASSERT_TRUE(layout.has_value());
    EXPECT_EQ(c.Count % layout->SamplesPerRecord, 0);
    if (c.PerRecord) {
      EXPECT_EQ(layout->SamplesPerRecord, c.PerRecord);
    }
    const double exact = layout->SamplesPerRecord * c.Period;
    EXPECT_LT(std::fabs(layout->DurationUs * 1e-6 - exact) / exact, kMaxRateError);
    EXPECT_LE(EdfSeconds(layout->DurationUs).size(), 8u);
  }
  EXPECT_FALSE(
      ChooseDataRecord(10, 0.01234567));  // 0.1234567 s has no 8-character form within 1e-6
  EXPECT_FALSE(ChooseDataRecord(0, 0.01));
  EXPECT_FALSE(ChooseDataRecord(100, std::numeric_limits<double>::quiet_NaN()));
}

TEST(Transliteration, GostSystemBGivesPrintableAscii) {
  const std::pair<const char*, const char*> cases[] = {
      {"Образцов Пётр", "Obrazczov Pyotr"},
      {"Щукин Цезарь", "Shhukin Cezar`"},
      {"ЖУКОВ Юрий", "ZHUKOV Yurij"},
      {"Жуков", "Zhukov"},
      {"съезд Эхо Ы", "s``ezd E`xo Y`"},
      {"цирк, цыган, лицо, Цаплин", "cirk, cy`gan, liczo, Czaplin"},
      {"Ґалина Їжак Єва", "G`alina Yizhak Yeva"},
      {"«Ёлка» — №5", "\"Yolka\" - No5"},
      {"a\r\nb\tc", "a  b c"},
      {"日本", "??"},
      {"\xEF\xBF\xBD", "?"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(TransliterateToAscii(in), out) << in;
}

TEST(EdfExport, PatientFieldHasSexAndAgeAsTheFormatAllows) {
  const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
      {"Образцов Пётр", "45", "муж", "X M X Obrazczov_Pyotr Age:45"},
      {"Анна", "30 лет", "Ж", "X F X Anna Age:30_let"},
      {"", "", "", "X X X X"},
      {"  Ли  ", "7", "f", "X F X Li Age:7"},
      {"Bob", "", "?", "X X X Bob"},
      // Too long: the name is cut between letters, never the age.
      {"Щущщещщщ-Шишщещщш Жужжащщая Щю", "1234567890", "ж",
       "X F X Shhushhshheshhshhshh-Shishshheshhshhsh_Zhuzhzhashhshhaya Age:1234567890"},
  };
  for (const auto& [name, age, sex, field] : cases) {
    PulsogramRecord r{};
    SetShortString(r.PatientName, name);
    SetShortString(r.PatientAge, age);
    SetShortString(r.PatientSex, sex);
    EXPECT_EQ(EdfPatientField(r), field) << name;
  }
}

}  // namespace
}  // namespace sfigmo::test
