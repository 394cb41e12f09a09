// The results message line and the preparation the SMS window runs on
// activation: last measurement, settings line, sms.txt.

#include "messaging/results_message.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <limits>

#include "messaging/screens/messaging_texts.h"
#include "sms_test_support.h"

namespace sfigmo {
namespace {

using test::ExampleMessage;
using test::ExampleResults;

std::string Message(const AnalysisResults& r) { return ResultsMessage(r, ','); }

TEST(ResultsMessage, ExampleLineByteForByteWithItsLineEnd) {
  EXPECT_EQ(QByteArray::fromStdString(Message(ExampleResults())), ExampleMessage());
}

TEST(ResultsMessage, ValuesFormattedPerKey) {
  struct Case {
    void (*set)(AnalysisResults&);
    const char* expected;
  } cases[] = {
      {[](AnalysisResults& r) { r.PULS = 105; }, "PULS=105 "},
      {[](AnalysisResults& r) { r.KOLP = 0; }, " KOLP=0 "},
      {[](AnalysisResults& r) { r.KOLE = 1; }, " KOLE=1 "},
      {[](AnalysisResults& r) { r.VRKI = 1234.5; }, " VRKI=1,23E003 "},  // three exponent digits
      {[](AnalysisResults& r) { r.MeanInterval = 0; }, " TOSO=- "},
      {[](AnalysisResults& r) { r.MeanInterval = std::numeric_limits<double>::quiet_NaN(); },
       " TOSO=- "},
      {[](AnalysisResults& r) { r.NAGR = 0.0912; }, " NAGR=0,091\r\r\n"},
  };
  for (const Case& c : cases) {
    AnalysisResults r = ExampleResults();
    c.set(r);
    EXPECT_NE(Message(r).find(c.expected), std::string::npos)
        << Message(r) << " lacks " << c.expected;
  }
}

// Two significant digits would give "1,1E2" from 100 on: such values go out
// as rounded whole numbers; smaller ones keep their two digits.
TEST(ResultsMessage, LargeValuesAreWholeNumbersNeverExponents) {
  struct Case {
    double AnalysisResults::*member;
    double value;
    const char* expected;
  } cases[] = {
      {&AnalysisResults::PULS, 108.7, "PULS=109 "}, {&AnalysisResults::PULS, 299, "PULS=299 "},
      {&AnalysisResults::PULS, 99.6, "PULS=100 "},  // two digits round it to 100 already
      {&AnalysisResults::PULS, 99.4, "PULS=99 "},   {&AnalysisResults::KOLP, 150, " KOLP=150 "},
      {&AnalysisResults::KOLE, 2500, " KOLE=2500 "},
      {&AnalysisResults::NAGR, 1.5, " TOSO=188 "},  // (NAGR + DescentTime) * 100 / MeanInterval
  };
  for (const Case& c : cases) {
    AnalysisResults r = ExampleResults();
    r.*c.member = c.value;
    EXPECT_NE(Message(r).find(c.expected), std::string::npos) << Message(r) << " lacks " << c.expected;
  }
}

TEST(ResultsMessage, SeparatorIsTheCallers) {
  EXPECT_EQ(ResultsMessage(ExampleResults(), '.').substr(0, 18), "PULS=72 VRKI=0.123");
}

class Preparation : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = dir.path() + QLatin1Char('/');
    QDir().mkpath(folder + QStringLiteral("DataMLT/DatInt"));
  }
  void telport(const QByteArray& bytes) {
    ASSERT_TRUE(test::WriteFile(folder + "telport.txt", bytes));
  }
  QString sms() const { return folder + QStringLiteral("sms.txt"); }

  QTemporaryDir dir;
  QString folder;
};

TEST_F(Preparation, WritesTheMessageAndReturnsRecordAndLine) {
  telport("--port USB0  +79161234567 --timeout 60\r\n");
  ASSERT_TRUE(test::LayLastMeasurement(dir.path(), *test::RecordWith(ExampleResults())));
  const auto p = std::make_unique<MessagePreparation>(PrepareResultsMessage(folder, ','));
  EXPECT_TRUE(p->error.ok()) << MessagingErrorText(p->error).toStdString();
  EXPECT_TRUE(p->recordRead);
  EXPECT_EQ(p->record.Results.PULS, 72.4);
  EXPECT_EQ(p->settingsLine, QStringLiteral("--port USB0  +79161234567 --timeout 60"));
  EXPECT_EQ(test::ReadFile(sms()), ExampleMessage());
}

TEST_F(Preparation, EachMissingPieceIsNamedAndNoMessageIsWritten) {
  struct Case {
    const char* name;
    const char* telport;  // null: no file
    qint64 recordBytes;   // -1: no record
    MessagingFailure failure;
    const char* expected;
  } cases[] = {
      {"no measurement", "--port USB0  +79161234567\r\n", -1, MessagingFailure::NoMeasurement,
       "Нет сохраненного измерения"},
      {"no telport.txt", nullptr, qint64(kRecordSize), MessagingFailure::SettingsNotFound,
       "telport.txt"},
      {"short telport.txt", "--port USB0  +7916\r\n", qint64(kRecordSize),
       MessagingFailure::ShortSettingsLine, "короче 25 символов"},
      {"short record", "--port USB0  +79161234567\r\n", qint64(kRecordSize) - 1,
       MessagingFailure::RecordUnreadable, ".pul"},
  };
  for (const Case& c : cases) {
    QTemporaryDir d;
    const QString f = d.path() + QLatin1Char('/');
    QDir().mkpath(f + QStringLiteral("DataMLT/DatInt"));
    if (c.telport) {
      ASSERT_TRUE(test::WriteFile(f + "telport.txt", c.telport));
    }
    if (c.recordBytes >= 0) {
      ASSERT_TRUE(test::LayLastMeasurement(d.path(), *test::RecordWith(ExampleResults())));
      QFile::resize(f + "DataMLT/DatInt/Ivanov4526_12_07_09_05_03.pul", c.recordBytes);
    }
    ASSERT_TRUE(test::WriteFile(f + "sms.txt", "older message\r\r\n"));
    const auto p = std::make_unique<MessagePreparation>(PrepareResultsMessage(f, ','));
    EXPECT_EQ(p->error.Failure, c.failure) << c.name;
    const QString text = MessagingErrorText(p->error);
    EXPECT_TRUE(text.contains(QString::fromUtf8(c.expected)))
        << c.name << ": " << text.toStdString();
    EXPECT_EQ(test::ReadFile(f + "sms.txt"), QByteArray("older message\r\r\n")) << c.name;
    EXPECT_FALSE(p->recordRead) << c.name;
  }
}

TEST_F(Preparation, DamagedResultsAreNeitherWrittenNorSent) {
  telport("--port USB0  +79161234567 --timeout 60\r\n");
  for (double puls : {std::nan(""), 1.0 / 0.0, -72.7, 2730.0}) {
    AnalysisResults damaged = ExampleResults();
    damaged.PULS = puls;
    ASSERT_TRUE(test::LayLastMeasurement(dir.path(), *test::RecordWith(damaged)));
    ASSERT_TRUE(test::WriteFile(sms(), "older message\r\r\n"));
    const auto p = std::make_unique<MessagePreparation>(PrepareResultsMessage(folder, ','));
    EXPECT_EQ(p->error.Failure, MessagingFailure::ResultsDamaged);
    const QString text = MessagingErrorText(p->error);
    EXPECT_TRUE(text.contains(QStringLiteral("повреждены"))) << text.toStdString();
    EXPECT_EQ(test::ReadFile(sms()), QByteArray("older message\r\r\n")) << puls;
  }
}

TEST_F(Preparation, SettingsAreReadEvenWithoutAMeasurement) {
  telport("--port ACM0  +79161234567\r\n");
  const auto p = std::make_unique<MessagePreparation>(PrepareResultsMessage(folder, ','));
  EXPECT_FALSE(p->error.ok());
  EXPECT_TRUE(p->settingsRead);
  EXPECT_EQ(p->settingsLine, QStringLiteral("--port ACM0  +79161234567"));
  EXPECT_FALSE(QFileInfo::exists(sms()));
}

TEST_F(Preparation, FirstRecordByNameIsTheLastMeasurement) {
  telport("--port USB0  +79161234567\r\n");
  AnalysisResults second = ExampleResults();
  second.PULS = 105;
  ASSERT_TRUE(test::LayLastMeasurement(dir.path(), *test::RecordWith(second), "B.pul"));
  ASSERT_TRUE(
      test::LayLastMeasurement(dir.path(), *test::RecordWith(ExampleResults()), "A.pul"));
  const auto p = std::make_unique<MessagePreparation>(PrepareResultsMessage(folder, ','));
  EXPECT_EQ(test::ReadFile(sms()), ExampleMessage());
}

}  // namespace
}  // namespace sfigmo
