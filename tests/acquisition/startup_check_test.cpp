// The sensor test of the start-up check against a scripted library, and the
// loading of the library file.

#include "acquisition/startup_check.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <cerrno>
#include <limits>

#include "acquisition/device_library.h"
#include "fake_sensor.h"

namespace sfigmo {
namespace {

using test::FakeSensor;

class CheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeSensor::current = &sensor;
    view.setBatteryText = [this](const QString& t) { batteryTexts.push_back(t); };
    view.setMessage = [this](const QString& t) { message = t; };
    view.takeMessages = [] {};
    view.wait = [this](int ms) { waited += ms; };
    view.decimalSeparator = QLatin1Char(',');
  }
  void TearDown() override { FakeSensor::current = nullptr; }

  std::vector<std::string> endCalls() const { return {sensor.calls.end() - 3, sensor.calls.end()}; }

  FakeSensor sensor;
  SensorCheckView view;
  std::vector<QString> batteryTexts;
  QString message;
  int waited = 0;
};

TEST_F(CheckTest, HealthySensorIsReady) {
  const SensorCheckResult r = RunSensorCheck(sensor.api(), view);
  EXPECT_FALSE(r.noSignal);
  ASSERT_EQ(batteryTexts.size(), 1u);
  EXPECT_EQ(batteryTexts.back(), QStringLiteral("Ubat = 9 в."));
  EXPECT_TRUE(message.isEmpty());
  EXPECT_EQ(sensor.calls, (std::vector<std::string>{"search", "open", "dtr1", "vbat", "start",
                                                    "stop", "dtr0", "close"}));
  EXPECT_EQ(waited, 300);
}

TEST_F(CheckTest, LowBatteryAsksForANewOne) {
  sensor.volts = 7.4f;
  const SensorCheckResult r = RunSensorCheck(sensor.api(), view);
  EXPECT_TRUE(r.noSignal);
  ASSERT_EQ(batteryTexts.size(), 2u);
  EXPECT_EQ(batteryTexts[0], QStringLiteral("Ubat = 7,4 в."));
  EXPECT_EQ(batteryTexts[1], QStringLiteral("Ubat=7,4"));
  EXPECT_EQ(message, QStringLiteral("  Сменить Бат."));
  EXPECT_EQ(std::count(sensor.calls.begin(), sensor.calls.end(), "start"), 0);
  EXPECT_EQ(endCalls(), (std::vector<std::string>{"stop", "dtr0", "close"}));
}

TEST_F(CheckTest, ExactlyMinimumBatteryPasses) {
  sensor.volts = 7.5f;
  EXPECT_FALSE(RunSensorCheck(sensor.api(), view).noSignal);
  EXPECT_EQ(batteryTexts.back(), QStringLiteral("Ubat = 7,5 в."));
}

// A failed battery query is asked once more; a second failure is a broken
// link, never a flat battery.
TEST_F(CheckTest, FailedBatteryQueryIsAskedOnceMoreThenNamesTheLink) {
  struct Case {
    const char* name;
    bool answers;
    int failures;
    bool withoutVolts;
    bool ready;
    float volts = 9.0f;  // what a reply says
    const char* shown = "Ubat = 9 в.";
  };
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const Case cases[] = {
      {"one failure, then a reading", true, 1, false, true},
      {"mute", false, 0, false, false},
      {"two failures", true, 2, false, false},
      {"reply without a voltage", true, 0, true, false},
      // Readings no battery gives are failed reads too.
      {"255 V", true, 0, false, false, 255.0f},
      {"20.5 V", true, 0, false, false, 20.5f},
      {"below 0 V", true, 0, false, false, -0.5f},
      {"not a number", true, 0, false, false, nan},
      {"20 V is a reading", true, 0, false, true, 20.0f, "Ubat = 20 в."},
      {"0 V is a flat battery", true, 0, false, false, 0.0f, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeSensor s;
    s.answersBattery = c.answers;
    s.batteryFailures = c.failures;
    s.batteryWithoutVolts = c.withoutVolts;
    s.volts = c.volts;
    FakeSensor::current = &s;
    batteryTexts.clear();
    message.clear();
    const SensorCheckResult r = RunSensorCheck(s.api(), view);
    EXPECT_EQ(r.noSignal, !c.ready);
    if (c.shown == nullptr) {  // a reading, below the minimum
      EXPECT_TRUE(r.answered);
      EXPECT_EQ(message, QStringLiteral("  Сменить Бат."));
      continue;
    }
    EXPECT_EQ(std::count(s.calls.begin(), s.calls.end(), "vbat"), c.ready ? c.failures + 1 : 2);
    EXPECT_EQ(r.batteryUnanswered, !c.ready);
    EXPECT_EQ(r.answered, c.ready);
    if (c.ready) {
      EXPECT_EQ(batteryTexts, std::vector<QString>{QString::fromUtf8(c.shown)});
      EXPECT_TRUE(message.isEmpty());
    } else {
      EXPECT_TRUE(batteryTexts.empty());
      EXPECT_EQ(message, QString::fromUtf8(kNoSensorLinkText));
      EXPECT_EQ(std::count(s.calls.begin(), s.calls.end(), "start"), 0);
      EXPECT_EQ(std::vector<std::string>(s.calls.end() - 3, s.calls.end()),
                (std::vector<std::string>{"stop", "dtr0", "close"}));
    }
  }
  FakeSensor::current = &sensor;
}

TEST_F(CheckTest, RefusedStreamStartIsNoSignalWithoutMessage) {
  sensor.volts = 7.9f;
  sensor.acceptsStart = false;
  EXPECT_TRUE(RunSensorCheck(sensor.api(), view).noSignal);
  EXPECT_EQ(batteryTexts.back(), QStringLiteral("Ubat = 7,9 в."));
  EXPECT_TRUE(message.isEmpty());
  EXPECT_EQ(endCalls(), (std::vector<std::string>{"stop", "dtr0", "close"}));
}

TEST_F(CheckTest, UnlistedSensorStopsAfterTheSearch) {
  sensor.listed = false;
  EXPECT_TRUE(RunSensorCheck(sensor.api(), view).noSignal);
  EXPECT_EQ(message, QStringLiteral(" Нет связи с ПК"));
  EXPECT_EQ(sensor.calls, std::vector<std::string>{"search"});
  EXPECT_TRUE(batteryTexts.empty());
}

TEST_F(CheckTest, NoLibraryCallsNothing) {
  EXPECT_TRUE(RunSensorCheck(SensorApi{}, view).noSignal);
  EXPECT_TRUE(sensor.calls.empty());
  EXPECT_TRUE(message.isEmpty());
}

TEST(BatteryTextTest, ThreeSignificantDigitsAndSeparator) {
  EXPECT_EQ(BatteryText(8.456f, QLatin1Char(',')), QStringLiteral("Ubat = 8,46 в."));
  EXPECT_EQ(BatteryText(8.456f, QLatin1Char('.')), QStringLiteral("Ubat = 8.46 в."));
  EXPECT_EQ(LowBatteryText(12.0f, QLatin1Char(',')), QStringLiteral("Ubat=12"));
}

TEST(DeviceLibraryTest, MissingFileLeavesNothingBound) {
  QTemporaryDir empty;
  DeviceLibrary lib;
  EXPECT_FALSE(lib.load(empty.path()));
  EXPECT_FALSE(lib.loaded());
  EXPECT_FALSE(lib.api().complete());
  EXPECT_FALSE(lib.lastError().isEmpty());
  EXPECT_FALSE(lib.setMessageSink(nullptr, nullptr));
}

TEST(DeviceLibraryTest, BindsTheBuiltLibrary) {
  const QString folder = QStringLiteral(SFIGMO_BIN_DIR);
#ifdef SFIGMO_HAVE_SENSORDRV
  ASSERT_TRUE(QDir(folder).exists(QString::fromLatin1(kSensorLibraryFile))) << folder.toStdString();
#else
  if (!QDir(folder).exists(QString::fromLatin1(kSensorLibraryFile))) GTEST_SKIP();
#endif
  DeviceLibrary lib;
  ASSERT_TRUE(lib.load(folder)) << lib.lastError().toStdString();
  EXPECT_TRUE(lib.api().complete());
  EXPECT_NE(lib.api().CheckOpenPort, nullptr);
  EXPECT_NE(lib.api().CheckFailedDevice, nullptr);
  // Loading again only counts up and binds the same functions.
  const SensorApi first = lib.api();
  ASSERT_TRUE(lib.load(folder));
  EXPECT_EQ(lib.api().OpenPort, first.OpenPort);
}

TEST(PriorityTest, RaiseNeverRaisesTheNiceValue) {
  errno = 0;
  const int before = getpriority(PRIO_PROCESS, 0);
  EXPECT_LE(RaiseThreadPriority(), before);
}

}  // namespace
}  // namespace sfigmo
