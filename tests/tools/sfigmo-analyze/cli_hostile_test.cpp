#include <gtest/gtest.h>

#include <QJsonArray>
#include <cmath>
#include <cstring>
#include <limits>

#include "cli_support.h"
#include "hostile_records.h"

namespace sfigmo::test {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

QJsonObject AnalyseOne(const PulsogramRecord& record, bool stored = false,
                       RunResult* run = nullptr) {
  TempDir dir;
  Save(dir / "x.pul", record);
  std::vector<std::string> args = {"--json", (dir / "x.pul").string()};
  if (stored) args.insert(args.begin(), "--stored");
  const RunResult r = RunAnalyze(args);
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  if (run) *run = r;
  const auto objects = JsonLines(r.Out);
  return objects.empty() ? QJsonObject{} : objects[0];
}

// A record of sharp single-sample beats at the given 1-based indices.
std::unique_ptr<PulsogramRecord> SpikeRecord(const std::vector<int>& beats, double period = 0.01) {
  auto r = RecordBuilder().Count(beats.back() + 20).Period(period).Build();
  for (int b : beats) {
    r->Samples[b - 1] = -100;
    r->Samples[b + 2] = 40;  // upstroke peak after the zero crossing
  }
  return r;
}

std::vector<int> BeatsFrom(int first, const std::vector<int>& intervals) {
  std::vector<int> beats{first};
  for (int i : intervals) beats.push_back(beats.back() + i);
  return beats;
}

TEST(AnalyzeCliHostile, SampleCountBeyondTheArrayIsHeldAndReported) {
  auto record = RecordOf(NormalRestingWave());
  record->SampleCount = 65535;
  RunResult run;
  const QJsonObject o = AnalyseOne(*record, false, &run);
  EXPECT_EQ(o["SampleCount"].toInt(), 65535);
  EXPECT_TRUE(o["Accepted"].toBool());
  EXPECT_NE(run.Err.find("65535"), std::string::npos);
  EXPECT_NE(run.Err.find("10901"), std::string::npos);
}

// A time base no sensor gives is no pulse recording: rejected with its own
// reason word, never calculated.
TEST(AnalyzeCliHostile, DamagedSamplePeriodIsRejectedAsNoPulseRecording) {
  const double periods[] = {0.0,     -0.01, -kInf,  std::nan(""),
                            kInf,    1e308, 1e-300, std::numeric_limits<double>::denorm_min(),
                            0.00049, 0.51};
  for (const double period : periods) {
    SCOPED_TRACE(period);
    auto record = RecordOf(NormalRestingWave());
    record->SamplePeriod = period;
    RunResult run;
    const QJsonObject o = AnalyseOne(*record, false, &run);
    EXPECT_FALSE(o["Accepted"].toBool());
    EXPECT_EQ(o["RejectedBy"].toString(), QString("period"));
    EXPECT_TRUE(o["StoppedAt"].isNull());
    EXPECT_FALSE(o.contains("Verdicts"));
    EXPECT_FALSE(o.contains("PULS"));
    EXPECT_FALSE(o.contains("NAGR"));
    if (!std::isfinite(period)) {
      EXPECT_TRUE(o["SamplePeriod"].isNull());
    }
    TempDir dir;
    Save(dir / "x.pul", *record);
    const RunResult text = RunAnalyze({(dir / "x.pul").string()});
    EXPECT_NE(text.Out.find("Запись отклонена (period): Это не запись пульса"), std::string::npos)
        << text.Out;
    EXPECT_EQ(text.Out.find("Запись принята"), std::string::npos);
  }
}

TEST(AnalyzeCliHostile, RejectedRecordingsCarryNoResults) {
  SampleWave quiet = NormalRestingWave();
  quiet.Depth = 10;
  quiet.Peak = 5;
  SampleWave late = NormalRestingWave();
  late.FirstBeat = 250;
  SampleWave fast = NormalRestingWave();
  fast.Intervals.assign(105, 40);
  auto flat = RecordBuilder().Count(2000).Period(0.01).Build();

  const std::pair<const PulsogramRecord*, const char*> cases[] = {
      {flat.get(), "beats"},
      {RecordOf(quiet).release(), "amplitude"},
      {RecordOf(late).release(), "first-beat"},
      {RecordOf(fast).release(), "too-many"}};
  for (const auto& [record, reason] : cases) {
    SCOPED_TRACE(reason);
    const QJsonObject o = AnalyseOne(*record);
    if (record != flat.get()) delete record;
    EXPECT_FALSE(o["Accepted"].toBool());
    EXPECT_EQ(o["RejectedBy"].toString(), QString(reason));
    EXPECT_TRUE(o["StoppedAt"].isNull());
    for (const char* absent : {"PULS", "NAGR", "TOSO", "Verdicts", "ConclusionScore", "Advice"}) {
      EXPECT_FALSE(o.contains(absent)) << absent;
    }
  }
}

TEST(AnalyzeCliHostile, AGuardStopShowsOnlyTheFieldsWrittenBeforeIt) {
  // Equal intervals: the rhythm stage stops at its step 9.
  QJsonObject o = AnalyseOne(*SpikeRecord(BeatsFrom(50, {80, 80, 80, 80})));
  EXPECT_EQ(o["StoppedAt"].toString(), QString("rhythm-9"));
  EXPECT_EQ(o["PULS"].toDouble(), 75.0);
  EXPECT_EQ(o["MeanNormalInterval"].toDouble(), 0.8);
  for (const char* absent : {"VRKI", "KOVR", "IntervalCount", "NAGR", "TOSO", "Verdicts"}) {
    EXPECT_FALSE(o.contains(absent)) << absent;
  }
  // Every interval a pause or an extrasystole: step 7.
  o = AnalyseOne(*SpikeRecord(BeatsFrom(50, {20, 200, 20, 200})));
  EXPECT_EQ(o["StoppedAt"].toString(), QString("rhythm-7"));
  EXPECT_EQ(o["KOLP"].toDouble(), 2.0);
  EXPECT_FALSE(o.contains("MeanNormalInterval"));
  // Three marks: the rhythm completes, no beat is left for the wave shape.
  o = AnalyseOne(*SpikeRecord(BeatsFrom(50, {80, 82})));
  EXPECT_EQ(o["StoppedAt"].toString(), QString("shape"));
  EXPECT_TRUE(o.contains("IntervalCount"));
  EXPECT_FALSE(o.contains("NAGR"));
  EXPECT_FALSE(o.contains("TOSO"));
}

// Damaged stored results are shown as "-" and give no verdict, score or
// advice, whichever value is damaged.
TEST(AnalyzeCliHostile, DamagedStoredBlockGivesNoConclusion) {
  struct Case {
    const char* name;
    void (*damage)(AnalysisResults&);
    const char* shown;  // the text line of the damaged field
  } cases[] = {
      {"all NaN",
       [](AnalysisResults& s) {
         for (double* v = &s.NAGR; v <= &s.IntervalSD; ++v) *v = std::nan("");
       },
       "  PULS = -"},
      {"infinite pulse", [](AnalysisResults& s) { s.PULS = kInf; }, "  PULS = -"},
      {"negative pulse", [](AnalysisResults& s) { s.PULS = -72.7; }, "  PULS = -"},
      {"pulse 2730", [](AnalysisResults& s) { s.PULS = 2730; }, "  PULS = -"},
      {"denormal VRKI", [](AnalysisResults& s) { s.VRKI = -2.47e-323; }, "  VRKI = -"},
      {"huge SPSO", [](AnalysisResults& s) { s.SPSO = 1e308; }, "  SPSO = -"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto record = RecordOf(NormalRestingWave());
    AnalysisResults& s = record->Results;
    s.PULS = 72;
    s.VRKI = 0.1;
    s.NAGR = 0.09;
    s.DescentTime = 0.06;
    s.MeanInterval = 0.8;
    c.damage(s);
    const QJsonObject o = AnalyseOne(*record, true);
    for (const char* absent : {"Verdicts", "ConclusionScore", "Advice", "PressureEstimate", "TOSO"})
      EXPECT_FALSE(o.contains(absent)) << absent;
    EXPECT_FALSE(o["DamagedResults"].toArray().isEmpty());

    TempDir dir;
    Save(dir / "x.pul", *record);
    const RunResult text = RunAnalyze({"--stored", (dir / "x.pul").string()});
    EXPECT_EQ(text.ExitCode, 0);
    EXPECT_NE(text.Out.find(std::string(c.shown) + "\n"), std::string::npos) << text.Out;
    EXPECT_NE(text.Out.find("Результаты в записи повреждены"), std::string::npos) << text.Out;
    for (const char* never : {"NAN", "INF", "ПУЛЬС", "ПЕРЕБОИ", "ConclusionScore", "КОНТРОЛ"})
      EXPECT_EQ(text.Out.find(never), std::string::npos) << never << "\n" << text.Out;
  }
}

// Records that are no accepted recording keep a healthy-looking stored
// block out of --stored, in JSON and text alike; the intact one beside them
// still gets its conclusion.
TEST(AnalyzeCliHostile, StoredBlockOfARecordNotAcceptedIsNeverShown) {
  TempDir dir;
  const auto hostile = HostileRecords();
  for (std::size_t i = 0; i < hostile.size(); ++i)  // the folder is read in name order
    Save(dir / (std::to_string(i) + hostile[i].Name + ".pul"), *hostile[i].Record);
  Save(dir / "~healthy.pul", *HealthyRecording());  // sorts last

  const RunResult json = RunAnalyze({"--stored", "--json", dir.path().string()});
  ASSERT_EQ(json.ExitCode, 0) << json.Err;
  const auto o = JsonLines(json.Out);
  ASSERT_EQ(o.size(), hostile.size() + 1);
  for (std::size_t i = 0; i < hostile.size(); ++i) {
    SCOPED_TRACE(hostile[i].Name);
    EXPECT_FALSE(o[i]["Accepted"].toBool());
    EXPECT_EQ(o[i]["RejectedBy"].toString().toStdString(), hostile[i].RejectedBy);
    for (const char* absent : {"PULS", "Verdicts", "ConclusionScore", "Advice", "TOSO"})
      EXPECT_FALSE(o[i].contains(absent)) << absent;
  }
  EXPECT_EQ(o.back()["ConclusionScore"].toInt(), 100);

  const RunResult text = RunAnalyze({"--stored", dir.path().string()});
  ASSERT_EQ(text.ExitCode, 0) << text.Err;
  const std::string hostileText = text.Out.substr(0, text.Out.find("~healthy.pul"));
  for (const char* never : {"ЧАСТОТА ПУЛЬСА", "ConclusionScore", "Контроль", "КОНТРОЛЬ", "PULS = "})
    EXPECT_EQ(hostileText.find(never), std::string::npos) << never << "\n" << hostileText;
  EXPECT_NE(text.Out.find("ConclusionScore: 100", hostileText.size()), std::string::npos);
}

TEST(AnalyzeCliHostile, GarbageHeaderAndSamplesNeverBreakTheOutput) {
  for (unsigned char fill : {0x00, 0x1B, 0x98, 0xFF}) {
    SCOPED_TRACE(int(fill));
    TempDir dir;
    SaveBytes(dir / "junk.pul", std::string(kRecordSize, static_cast<char>(fill)));
    const RunResult json = RunAnalyze({"--json", (dir / "junk.pul").string()});
    EXPECT_EQ(json.ExitCode, 0) << json.Err;
    ASSERT_EQ(JsonLines(json.Out).size(), 1u);
    const RunResult text = RunAnalyze({(dir / "junk.pul").string()});
    EXPECT_EQ(text.ExitCode, 0);
    EXPECT_EQ(text.Out.find('\x1B'), std::string::npos);  // no terminal escapes from a file
  }
}

}  // namespace
}  // namespace sfigmo::test
