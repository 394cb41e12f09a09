// The JSON line against Qt's JSON writer, which wrote it before: the same
// bytes for every number, string and whole report.

#include "report_json.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "hostile_records.h"

namespace sfigmo::test {
namespace {

// Qt's compact text of one value, taken out of a one-member object.
std::string QtText(const QJsonValue& v) {
  const QByteArray doc = QJsonDocument(QJsonObject{{"v", v}}).toJson(QJsonDocument::Compact);
  return doc.mid(5, doc.size() - 6).toStdString();  // {"v":...}
}

TEST(CliJsonLine, NumbersAsQtWritesThem) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  std::vector<double> values = {0.0,
                                -0.0,
                                1.0,
                                -7.0,
                                0.5,
                                1e-5,
                                1e-4,
                                0.1,
                                1e6,
                                1e15,
                                1e16,
                                1e21,
                                1e300,
                                -1e300,
                                9007199254740991.0,
                                9007199254740992.0,
                                9007199254740994.0,
                                9.2233720368547758e18,
                                4.9e-324,
                                1.7976931348623157e308,
                                51.71100280244143,
                                0.07813186813186813,
                                std::nan(""),
                                kInf,
                                -kInf};
  std::mt19937_64 rng(28);
  for (int i = 0; i < 3000; ++i) {
    values.push_back(std::bit_cast<double>(rng()));  // any magnitude
    values.push_back(
        std::ldexp(static_cast<double>(rng() % 100000), static_cast<int>(rng() % 80) - 40));
    values.push_back(static_cast<double>(rng() % 1000000) /
                     std::pow(10.0, static_cast<double>(rng() % 9)));
  }
  for (const double v : values) {
    const QJsonValue qt = std::isfinite(v) ? QJsonValue(v) : QJsonValue(QJsonValue::Null);
    ASSERT_EQ(JsonNumber(v), QtText(qt)) << std::bit_cast<std::uint64_t>(v);
  }
}

TEST(CliJsonLine, StringsAsQtWritesThem) {
  const std::string cases[] = {
      "",
      "Образцов Пётр",
      "quote \" backslash \\ slash /",
      "\b\f\n\r\t\x01\x1f\x7f",
      std::string("nul\0inside", 10),
      "\xff\xfe",            // bytes never in UTF-8
      "\xd0",                // a sequence cut short at the end
      "\xe2\x82 then text",  // and in the middle
      "\xc0\x80 overlong",   // an overlong zero
      "\xed\xa0\x80",        // an encoded surrogate
      "\xf4\x90\x80\x80",    // past U+10FFFF
      "\x80 lone continuation",
      "emoji \xf0\x9f\x98\x80",
  };
  for (const std::string& s : cases) {
    EXPECT_EQ(JsonString(s), QtText(QString::fromStdString(s))) << s;
  }
}

// Whole lines: Qt reads each back and writes it again unchanged (keys in
// its order, its escapes and numbers), with the values intact.
TEST(CliJsonLine, ReportsAreQtsCompactForm) {
  struct Case {
    const char* name;
    std::unique_ptr<PulsogramRecord> record;
    bool stored;
  };
  std::vector<Case> cases;
  cases.push_back({"healthy", HealthyRecording(), false});
  cases.push_back({"healthy, stored", HealthyRecording(), true});
  cases.push_back({"double-counted", DoubleCountedRecording(), false});
  for (HostileRecord& h : HostileRecords()) cases.push_back({h.Name, std::move(h.Record), true});
  auto damaged = HealthyRecording();
  damaged->Results.MeanInterval = std::nan("");
  damaged->Results.IntervalSD = 1e300;
  cases.push_back({"damaged block", std::move(damaged), true});
  for (const Case& c : cases) {
    const RecordReport report = AnalyseRecord(*c.record, c.stored);
    const std::string line = ReportJson("/tmp/\"x\"\n\xff.pul", report);
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(line), &error);
    ASSERT_TRUE(doc.isObject()) << c.name << ": " << error.errorString().toStdString() << "\n"
                                << line;
    EXPECT_EQ(doc.toJson(QJsonDocument::Compact).toStdString(), line) << c.name;
    EXPECT_EQ(doc["file"].toString(), QString::fromUtf8("/tmp/\"x\"\n\xff.pul")) << c.name;
    EXPECT_EQ(doc["Marks"].toArray().size(), static_cast<qsizetype>(report.Marks.Marks.size()))
        << c.name;
  }
}

}  // namespace
}  // namespace sfigmo::test
