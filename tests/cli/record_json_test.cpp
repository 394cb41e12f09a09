// The JSON line of sfigmo-analyze against Qt's own JSON writer, which it
// replaced: the same bytes for every number and every report.

#include "record_json.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <limits>
#include <memory>
#include <random>

#include "sample_wave.h"

namespace sfigmo {
namespace {

QJsonValue QtNumber(double v) {
  return std::isfinite(v) ? QJsonValue(v) : QJsonValue(QJsonValue::Null);
}

// The report as the program wrote it through QJsonObject.
std::string QtReportJson(const std::filesystem::path& file, const RecordReport& r) {
  const auto nameOrNull = [](const char* name) {
    return name ? QJsonValue(QString::fromUtf8(name)) : QJsonValue(QJsonValue::Null);
  };
  QJsonObject o;
  o["file"] = QString::fromStdString(file.string());
  for (const auto& [name, text] : r.Header) o[name] = QString::fromStdString(text);
  o["Gain"] = r.Gain;
  o["SampleCount"] = r.StoredSampleCount;
  o["SamplePeriod"] = QtNumber(r.SamplePeriod);
  o["MarkMin"] = r.Marks.MarkMin;
  QJsonArray marks;
  for (const BeatMark& m : r.Marks.Marks) marks.append(m.Index);
  o["Marks"] = marks;
  o["Accepted"] = r.Rejected == Rejection::None;
  o["RejectedBy"] = nameOrNull(RejectionName(r.Rejected));
  o["StoppedAt"] = nameOrNull(r.Calculated ? CalcStopName(r.Stop) : nullptr);
  if (r.HasQuality) {
    o["SignalQuality"] = r.Quality.doubtful ? "doubtful" : "good";
    QJsonArray reasons;
    for (const std::string& word : r.Quality.reasons) reasons.append(QString::fromStdString(word));
    o["QualityReasons"] = reasons;
    o["IndependentPULS"] = QtNumber(r.Quality.independentPULS);
  }
  for (const ResultField& f : ResultFields()) {
    if (HasResult(r, f)) o[f.Name] = QtNumber(r.Results.*f.Member);
  }
  if (r.HasConclusion) {
    o["TOSO"] = QtNumber(r.Toso);
    QJsonArray verdicts;
    for (const VerdictLine& line : r.Verdicts) verdicts.append(QString::fromStdString(line.Text));
    o["Verdicts"] = verdicts;
    o["ConclusionScore"] = r.Score;
    o["PressureEstimate"] = QtNumber(r.Pressure);
    o["Advice"] = r.Advice;
  }
  return QJsonDocument(o).toJson(QJsonDocument::Compact).toStdString();
}

std::string QtNumberText(double v) {
  const std::string a =
      QJsonDocument(QJsonArray{QtNumber(v)}).toJson(QJsonDocument::Compact).toStdString();
  return a.substr(1, a.size() - 2);
}

// Whole numbers on both sides of 2^53, powers of ten where the exponent
// form starts to win, signed zero, extremes and random magnitudes.
TEST(RecordJson, NumbersAsQtWritesThem) {
  std::vector<double> values = {0.0,
                                -0.0,
                                1.0,
                                -1.0,
                                0.1,
                                0.0001,
                                0.00012,
                                0.00001,
                                1e5,
                                1e15,
                                1e16,
                                1e21,
                                9007199254740992.0,
                                9007199254740994.0,
                                2e53,
                                1.0 / 3,
                                5e-324,
                                std::numeric_limits<double>::max(),
                                -1.5e-300,
                                std::numeric_limits<double>::quiet_NaN(),
                                std::numeric_limits<double>::infinity(),
                                51.709758131776475};
  for (int e = -320; e <= 308; e += 1) values.push_back(std::pow(10.0, e) * 1.25);
  std::mt19937_64 rng(3);
  std::uniform_real_distribution<double> magnitude(-25.0, 25.0);
  for (int i = 0; i < 20000; ++i) {
    const double v = std::pow(10.0, magnitude(rng)) * (i % 2 ? -1.0 : 1.0);
    values.insert(values.end(), {v, std::round(v), std::round(v * 1000.0) / 1000.0});
  }
  for (double v : values) ASSERT_EQ(JsonNumber(v), QtNumberText(v)) << std::to_string(v);
}

// Whole reports: an analysed full record, a rejected one, and a stored block
// of awkward values with a header of control characters, Cyrillic and bytes
// that are not UTF-8.
TEST(RecordJson, ReportsAsQtWritesThem) {
  auto record = std::make_unique<PulsogramRecord>();
  FillSampleRecord(*record, MaximalRestingWave());
  const RecordReport full = AnalyseRecord(*record, false);
  ASSERT_TRUE(full.HasConclusion);
  EXPECT_EQ(ReportJson("/a/full.pul", full), QtReportJson("/a/full.pul", full));

  record->SampleCount = 40;
  const RecordReport rejected = AnalyseRecord(*record, false);
  EXPECT_EQ(ReportJson("rejected.pul", rejected), QtReportJson("rejected.pul", rejected));

  RecordReport odd = AnalyseRecord(*record, true);
  odd.Header = {{"DateText", "tab\there \"q\" \\ / \x01\x1f\x7f"},
                {"PatientName", "Образцов Пётр"},
                {"GeneralInfo", "broken \xff\xfe \xd0 end\r\n"}};
  const double awkward[] = {
      std::numeric_limits<double>::quiet_NaN(), -0.0,   1e15, 1e16, 1e-5, 0.0001,
      -std::numeric_limits<double>::infinity(), 123.456};
  int k = 0;
  for (const ResultField& f : ResultFields()) odd.Results.*f.Member = awkward[k++ % 8];
  odd.Toso = 1e300;
  EXPECT_EQ(ReportJson("dir/\xc3\x28.pul", odd), QtReportJson("dir/\xc3\x28.pul", odd));
}

}  // namespace
}  // namespace sfigmo
