#include <gtest/gtest.h>

#include <QJsonArray>
#include <QSet>
#include <cmath>
#include <filesystem>

#include "analysis/beat_marking.h"
#include "analysis/indices.h"
#include "cli_support.h"
#include "record/analysis_result_fields.h"

namespace sfigmo::test {
namespace {

QSet<QString> KeysOf(const QJsonObject& o) {
  const QStringList keys = o.keys();
  return QSet<QString>(keys.begin(), keys.end());
}

TEST(AnalyzeCli, HumanReportOfANormalRecording) {
  TempDir dir;
  Save(dir / "normal.pul", *RecordOf(NormalRestingWave()));
  const RunResult r = RunAnalyze({(dir / "normal.pul").string()});
  EXPECT_EQ(r.ExitCode, 0);
  EXPECT_EQ(r.Err, "");
  for (const char* expected :
       {"PatientName: Образцов Пётр",
        "GeneralInfo: Пример записи. / Синтетическая пульсограмма в покое.", "DateText: 26_12_07_",
        "SampleCount: 2036", "SamplePeriod: 0.01", "Marks (24): 60 143 ", "Запись принята",
        "  PULS = 72.0251", "  VRKI = 0.09", "  TOSO = ", "ЧАСТОТА ПУЛЬСА В НОРМЕ - 72\n",
        "ПЕРЕБОИ НЕ ОБНАРУЖЕНЫ", "СИНУСОВЫЙ РИТМ НЕ НАРУШЕН", "НАГРУЗКА МИОКАРДА В НОРМЕ",
        "ConclusionScore: 100", "Контроль не требуется"}) {
    EXPECT_NE(r.Out.find(expected), std::string::npos) << expected << "\n" << r.Out;
  }
}

TEST(AnalyzeCli, JsonHasExactlyTheNamedKeysWithFullPrecision) {
  TempDir dir;
  auto record = RecordOf(NormalRestingWave());
  Save(dir / "normal.pul", *record);
  const RunResult r = RunAnalyze({"--json", (dir / "normal.pul").string()});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  const auto objects = JsonLines(r.Out);
  ASSERT_EQ(objects.size(), 1u);
  const QJsonObject& o = objects[0];

  QSet<QString> expected = {"file",          "DateText",        "TimeText",         "PatientName",
                            "PatientAge",    "PatientSex",      "GeneralInfo",      "Gain",
                            "SampleCount",   "SamplePeriod",    "MarkMin",          "Marks",
                            "Accepted",      "RejectedBy",      "StoppedAt",        "TOSO",
                            "Verdicts",      "ConclusionScore", "PressureEstimate", "Advice",
                            "SignalQuality", "QualityReasons",  "IndependentPULS",  "Rhythm"};
  for (const AnalysisResultField& f : kAnalysisResultFields) expected.insert(f.Name);
  EXPECT_EQ(KeysOf(o), expected);

  // The same calculation in this process must give the same doubles, bit for bit.
  const std::span<const std::int32_t> samples(record->Samples, record->SampleCount);
  const MarkTable marks = MarkBeats(samples);
  AnalysisResults results;
  ASSERT_EQ(ComputeAll(samples, marks, record->SamplePeriod, results), CalcStop::Completed);
  EXPECT_EQ(o["PULS"].toDouble(), results.PULS);
  EXPECT_EQ(o["IntervalSD"].toDouble(), results.IntervalSD);
  EXPECT_EQ(o["SPSO"].toDouble(), results.SPSO);
  EXPECT_EQ(o["TOSO"].toDouble(), TOSO(results));
  EXPECT_EQ(o["SamplePeriod"].toDouble(), 0.01);
  EXPECT_EQ(o["MarkMin"].toInt(), marks.MarkMin);
  ASSERT_EQ(o["Marks"].toArray().size(), marks.count());
  EXPECT_EQ(o["Marks"].toArray()[1].toInt(), marks.Marks[1].Index);

  EXPECT_EQ(o["PatientName"].toString(), QString::fromUtf8("Образцов Пётр"));
  EXPECT_EQ(o["GeneralInfo"].toString(),
            QString::fromUtf8("Пример записи.\r\nСинтетическая пульсограмма в покое."));
  EXPECT_EQ(o["SampleCount"].toInt(), 2036);
  EXPECT_TRUE(o["Accepted"].toBool());
  EXPECT_TRUE(o["RejectedBy"].isNull());
  EXPECT_TRUE(o["StoppedAt"].isNull());
  EXPECT_EQ(o["ConclusionScore"].toInt(), 100);
  EXPECT_FALSE(o["Advice"].toBool());
  const QJsonArray verdicts = o["Verdicts"].toArray();
  ASSERT_EQ(verdicts.size(), 4);
  EXPECT_EQ(verdicts[0].toString(), QString::fromUtf8("ЧАСТОТА ПУЛЬСА В НОРМЕ -"));
  EXPECT_EQ(verdicts[3].toString(), QString::fromUtf8("НАГРУЗКА МИОКАРДА В НОРМЕ"));
}

TEST(AnalyzeCli, BadFilesAreReportedAndTheOthersStillAnalysed) {
  TempDir dir;
  Save(dir / "a.pul", *RecordOf(NormalRestingWave()));
  SaveBytes(dir / "short.pul", std::string(kRecordSize - 1, '\0'));
  Save(dir / "z.pul", *RecordOf(NormalRestingWave()));
  const RunResult r =
      RunAnalyze({"--json", (dir / "a.pul").string(), (dir / "missing.pul").string(),
                  (dir / "short.pul").string(), (dir / "z.pul").string()});
  EXPECT_EQ(r.ExitCode, 1);
  const auto objects = JsonLines(r.Out);
  ASSERT_EQ(objects.size(), 2u);
  EXPECT_TRUE(objects[0]["file"].toString().endsWith("a.pul"));
  EXPECT_TRUE(objects[1]["file"].toString().endsWith("z.pul"));
  // One line per failure, naming the file and the reason.
  ASSERT_EQ(std::count(r.Err.begin(), r.Err.end(), '\n'), 2) << r.Err;
  const std::string first = r.Err.substr(0, r.Err.find('\n'));
  EXPECT_NE(first.find("missing.pul"), std::string::npos);
  EXPECT_NE(first.find("не найдены"), std::string::npos);
  const std::string second = r.Err.substr(r.Err.find('\n') + 1);
  EXPECT_NE(second.find("short.pul"), std::string::npos);
  EXPECT_NE(second.find("44135 байт вместо 44136"), std::string::npos);
}

TEST(AnalyzeCli, FolderMeansItsPulFilesInNameOrder) {
  TempDir dir;
  auto record = RecordOf(NormalRestingWave());
  for (const char* name : {"b.pul", "a.pul", "C.PUL", "26_01_02_.pul"}) Save(dir / name, *record);
  SaveBytes(dir / "notes.txt", "не запись");
  std::filesystem::create_directory(dir / "sub.pul");
  const RunResult r = RunAnalyze({"--json", dir.path().string()});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  const auto objects = JsonLines(r.Out);
  ASSERT_EQ(objects.size(), 4u);
  QStringList order;
  for (const QJsonObject& o : objects)
    order << std::filesystem::path(o["file"].toString().toStdString()).filename().c_str();
  EXPECT_EQ(order, QStringList({"26_01_02_.pul", "C.PUL", "a.pul", "b.pul"}));

  const RunResult missing = RunAnalyze({"--json", (dir / "none").string() + "/"});
  EXPECT_EQ(missing.ExitCode, 1);
}

TEST(AnalyzeCli, StoredPrintsTheBlockOfTheFile) {
  TempDir dir;
  auto record = RecordOf(NormalRestingWave());
  AnalysisResults& s = record->Results;
  s.PULS = 85;
  s.KOLE = 1;
  s.VRKI = 0.1;
  s.DescentTime = 0.08;
  s.NAGR = 0.09;
  s.MeanInterval = 0.8;
  s.IntervalSD = 0.05;
  Save(dir / "stored.pul", *record);

  const RunResult json = RunAnalyze({"--json", "--stored", (dir / "stored.pul").string()});
  ASSERT_EQ(json.ExitCode, 0) << json.Err;
  const QJsonObject o = JsonLines(json.Out).at(0);
  EXPECT_EQ(o["PULS"].toDouble(), 85.0);
  EXPECT_EQ(o["TOSO"].toDouble(), (0.09 + 0.08) * 100 / 0.8);
  EXPECT_EQ(o["IntervalSD"].toDouble(), 0.05);
  EXPECT_TRUE(o["StoppedAt"].isNull());
  EXPECT_EQ(o["ConclusionScore"].toInt(), -10 + 30 + 30);
  EXPECT_TRUE(o["Advice"].toBool());
  EXPECT_EQ(o["Verdicts"].toArray()[1].toString(), QString::fromUtf8("ОБНАРУЖЕНЫ ПЕРЕБОИ"));

  const RunResult text = RunAnalyze({"--stored", (dir / "stored.pul").string()});
  EXPECT_NE(text.Out.find("Результаты, записанные в файле"), std::string::npos);
  EXPECT_NE(text.Out.find("  IntervalSD = 0.05"), std::string::npos) << text.Out;
  EXPECT_NE(text.Out.find("ПУЛЬС  ПОВЫШЕН - 85"), std::string::npos) << text.Out;
}

TEST(AnalyzeCli, NumbersFollowTheUsersNumericLocale) {
  TempDir locales;
  const std::string build =
      "localedef -i ru_RU -f UTF-8 " + (locales / "ru_RU.UTF-8").string() + " >/dev/null 2>&1";
  if (std::system(build.c_str()) != 0) GTEST_SKIP() << "localedef cannot build ru_RU here";
  TempDir dir;
  Save(dir / "normal.pul", *RecordOf(NormalRestingWave()));
  const std::string env =
      "LOCPATH=" + locales.path().string() + " LC_ALL= LANG=C.UTF-8 LC_NUMERIC=ru_RU.UTF-8";
  const RunResult r = RunAnalyze({(dir / "normal.pul").string()}, env);
  EXPECT_NE(r.Out.find("  PULS = 72,0251"), std::string::npos) << r.Out;
  EXPECT_NE(r.Out.find("SamplePeriod: 0,01"), std::string::npos);
  // JSON numbers never take the locale's comma.
  const RunResult json = RunAnalyze({"--json", (dir / "normal.pul").string()}, env);
  EXPECT_EQ(JsonLines(json.Out).at(0)["SamplePeriod"].toDouble(), 0.01);
}

// The record the figures are taken on fills a record and is analysed to the
// end: accepted, calculated, judged good, its rate read from the wave too.
TEST(AnalyzeCli, FullRestingRecordIsGoodWithItsRate) {
  TempDir dir;
  Save(dir / "full.pul", *RecordOf(MaximalRestingWave()));
  const RunResult r = RunAnalyze({"--json", (dir / "full.pul").string()});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  const QJsonObject o = JsonLines(r.Out).at(0);
  EXPECT_EQ(o["SampleCount"].toInt(), kMaxSamples);
  EXPECT_EQ(o["Marks"].toArray().size(), 94);
  EXPECT_TRUE(o["Accepted"].toBool());
  EXPECT_TRUE(o.contains("NAGR")) << "the calculation should complete";
  EXPECT_EQ(o["SignalQuality"].toString(), "good") << r.Out;
  EXPECT_NEAR(o["IndependentPULS"].toDouble(), o["PULS"].toDouble(), 0.5);
  EXPECT_NEAR(o["PULS"].toDouble(), 51.7, 0.5);
}

// A second, nearly as deep swing 0.3 s after every beat: the marking counts
// each beat twice, and the report says the signal is doubtful.
TEST(AnalyzeCli, SignalQualityOfGoodAndDoubleCountedRecords) {
  TempDir dir;
  auto good = RecordOf(NormalRestingWave());
  Save(dir / "good.pul", *good);
  auto doubled = RecordOf(NormalRestingWave());
  const MarkTable marks =
      MarkBeats(std::span<const std::int32_t>(doubled->Samples, doubled->SampleCount));
  for (const BeatMark& m : marks.Marks) {
    const int at = m.Index + 30;
    if (at + 3 > doubled->SampleCount) break;
    const std::int32_t d = marks.MarkMin * 4 / 5;
    const std::int32_t swing[] = {d / 3, d * 2 / 3, d, d * 2 / 3, d / 3};
    std::copy(std::begin(swing), std::end(swing), doubled->Samples + at - 3);
  }
  Save(dir / "doubled.pul", *doubled);

  const RunResult r =
      RunAnalyze({"--json", (dir / "good.pul").string(), (dir / "doubled.pul").string()});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  const auto o = JsonLines(r.Out);
  ASSERT_EQ(o.size(), 2u);
  EXPECT_EQ(o[0]["SignalQuality"].toString(), "good");
  EXPECT_EQ(o[0]["Rhythm"].toString(), "regular");
  EXPECT_TRUE(o[0]["QualityReasons"].toArray().isEmpty());
  EXPECT_NEAR(o[0]["IndependentPULS"].toDouble(), o[0]["PULS"].toDouble(), 3.0);
  EXPECT_EQ(o[1]["SignalQuality"].toString(), "doubtful");
  EXPECT_TRUE(o[1]["QualityReasons"].toArray().contains(QString("dicrotic"))) << r.Out;
  EXPECT_NEAR(o[1]["IndependentPULS"].toDouble(), o[0]["PULS"].toDouble(), 3.0);
  EXPECT_GT(o[1]["PULS"].toDouble(), 1.5 * o[0]["PULS"].toDouble());

  const RunResult text = RunAnalyze({(dir / "good.pul").string(), (dir / "doubled.pul").string()});
  EXPECT_NE(text.Out.find("Качество сигнала: хорошее\nПульс по форме волны: 72"), std::string::npos)
      << text.Out;
  EXPECT_NE(text.Out.find("Качество сигнала: сомнительное (dicrotic"), std::string::npos)
      << text.Out;
  EXPECT_NE(text.Out.find("Ритм: regular (ритм регулярный)"), std::string::npos) << text.Out;

  // A rejected recording is not judged.
  auto flat = RecordOf(NormalRestingWave());
  std::fill(flat->Samples, flat->Samples + flat->SampleCount, 0);
  Save(dir / "flat.pul", *flat);
  const auto rejected = JsonLines(RunAnalyze({"--json", (dir / "flat.pul").string()}).Out);
  ASSERT_EQ(rejected.size(), 1u);
  EXPECT_FALSE(rejected[0].contains("SignalQuality"));
  EXPECT_TRUE(rejected[0]["Rhythm"].isNull());
}

}  // namespace
}  // namespace sfigmo::test
