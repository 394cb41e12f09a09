// The JSON line against Qt's JSON writer, which wrote it before: the same
// bytes for every number, string and whole report.

#include "report_json.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <bit>
#include <cmath>
#include <random>

#include "hostile_records.h"

namespace sfigmo::test {
namespace {

// Qt's compact text of one value, taken out of a one-member object.
std::string QtText(const QJsonValue& v) {
  const QByteArray doc = QJsonDocument(QJsonObject{{"v", v}}).toJson(QJsonDocument::Compact);
  return doc.mid(5, doc.size() - 6).toStdString();  // {"v":...}
}

TEST(CliJsonLine, NumbersAndStringsAsQtWritesThem) {
  // clang-format off
  std::vector<double> numbers = {-0.0, 0.5, 1e-5, 1e-4, 1e15, 1e16, 1e21, -1e300, 4.9e-324,
      9007199254740991.0, 9007199254740992.0, 9007199254740994.0, 9.2233720368547758e18,
      1.7976931348623157e308, 51.71100280244143, std::nan(""), -INFINITY};
  const std::string strings[] = {
      "", "Образцов Пётр", "quote \" backslash \\ slash /", "\b\f\n\r\t\x01\x1f\x7f",
      std::string("nul\0inside", 10),
      "\xff\xfe",              // bytes never in UTF-8
      "\xd0", "\xe2\x82 cut",  // sequences cut short at the end and inside
      "\xc0\x80 overlong", "\xed\xa0\x80 surrogate", "\xf4\x90\x80\x80 past U+10FFFF",
      "\x80 lone continuation", "emoji \xf0\x9f\x98\x80"};
  // clang-format on
  std::mt19937_64 rng(28);
  for (int i = 0; i < 3000; ++i) {
    numbers.push_back(std::bit_cast<double>(rng()));  // any magnitude
    numbers.push_back(std::ldexp(static_cast<double>(rng() % 100000), int(rng() % 80) - 40));
    numbers.push_back(static_cast<double>(rng() % 1000000) / std::pow(10.0, double(rng() % 9)));
  }
  for (const double v : numbers) {
    const QJsonValue qt = std::isfinite(v) ? QJsonValue(v) : QJsonValue(QJsonValue::Null);
    ASSERT_EQ(JsonNumber(v), QtText(qt)) << std::bit_cast<std::uint64_t>(v);
  }
  for (const std::string& s : strings) EXPECT_EQ(JsonString(s), QtText(QString::fromStdString(s)));
}

// Whole lines: Qt reads each back and writes it again unchanged (keys in
// its order, its escapes and numbers), with the values intact.
TEST(CliJsonLine, ReportsAreQtsCompactForm) {
  std::vector<std::pair<std::unique_ptr<PulsogramRecord>, bool>> cases;  // record, --stored
  cases.emplace_back(HealthyRecording(), false);
  cases.emplace_back(DoubleCountedRecording(), false);
  for (HostileRecord& h : HostileRecords()) cases.emplace_back(std::move(h.Record), true);
  cases.emplace_back(HealthyRecording(), true);
  cases.back().first->Results.MeanInterval = std::nan("");  // damaged values
  cases.back().first->Results.IntervalSD = 1e300;
  const char* const file = "/tmp/\"x\"\n\xff.pul";
  for (const auto& [record, stored] : cases) {
    const RecordReport report = AnalyseRecord(*record, stored);
    const std::string line = ReportJson(file, report);
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(line));
    ASSERT_TRUE(doc.isObject()) << line;
    EXPECT_EQ(doc.toJson(QJsonDocument::Compact).toStdString(), line);
    EXPECT_EQ(doc["file"].toString(), QString::fromUtf8(file));
    EXPECT_EQ(doc["Marks"].toArray().size(), std::ssize(report.Marks.Marks));
  }
}

}  // namespace
}  // namespace sfigmo::test
