// Records that cannot be pulse recordings (a damaged or absurd time base, a
// pulse no person has) through every path that judges a recording: opening
// it from the archive, the recording check, and sfigmo-analyze. Plausible
// neighbours keep their verdicts.
#include <QAction>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <cmath>
#include <limits>

#include "analysis/screens/check_screen.h"
#include "archive_window.h"

namespace sfigmo::test {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct PeriodCase {
  const char* name;
  double period;
  int interval;        // samples between beats
  const char* reason;  // RejectedBy; nullptr: accepted
};

void PrintTo(const PeriodCase& c, std::ostream* os) { *os << c.name; }

// Twenty beats `interval` samples apart, the first at sample 20.
std::unique_ptr<PulsogramRecord> Recording(const PeriodCase& c) {
  SampleWave w = NormalRestingWave();
  w.Intervals.assign(20, c.interval);
  w.FirstBeat = 20;
  return RecordBuilder().Wave(w).Period(c.period).Build();
}

struct Analysis {
  QJsonObject json;
  QString text;
};

Analysis Analyse(const fs::path& file) {
  Analysis a;
  const QString exe = QStringLiteral(SFIGMO_BIN_DIR "/sfigmo-analyze");
  QProcess p;
  p.start(exe, {QStringLiteral("--json"), QString::fromStdString(file.string())});
  EXPECT_TRUE(p.waitForFinished(30000));
  EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
  a.json = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
  p.start(exe, {QString::fromStdString(file.string())});
  EXPECT_TRUE(p.waitForFinished(30000));
  a.text = QString::fromUtf8(p.readAllStandardOutput());
  return a;
}

class Plausibility : public ArchiveWindow, public ::testing::WithParamInterface<PeriodCase> {
 protected:
  // Red pixels of the reason line under the rejection advice.
  int ReasonPixels() const {
    const Canvas& c = form->traceCanvas();
    int red = 0;
    for (int y = kRejectionReasonY; y < kRejectionReasonY + 14; ++y)
      for (int x = 60; x < 600; ++x) red += c.pixel(x, y) == colours::Red;
    return red;
  }
  void ExpectJudged(const PeriodCase& c, const char* where) {
    SCOPED_TRACE(where);
    if (c.reason == nullptr) {
      EXPECT_EQ(form->Memo2->toPlainText(), QStringLiteral("       КАДР  1"));
    } else {
      EXPECT_EQ(form->Memo2->toPlainText(), QStringLiteral("      ОШИБКА"));
    }
    const bool implausible = c.reason != nullptr && (std::string(c.reason) == "period" ||
                                                     std::string(c.reason) == "pulse");
    if (implausible) {
      EXPECT_GT(ReasonPixels(), 50);
    } else {
      EXPECT_EQ(ReasonPixels(), 0);
    }
  }
};

TEST_P(Plausibility, EveryPathJudgesTheSame) {
  const PeriodCase& c = GetParam();
  const auto record = Recording(c);
  Put(archive() / "x.pul", *record);

  // Opening from the archive.
  form->N1Click();
  form->Open_->trigger();
  DoubleClick(form->ListBox1, 0);
  // Only a record the check accepts becomes the last measurement.
  ASSERT_EQ(form->LastRecordRead, c.reason == nullptr ? 1 : 0);
  EXPECT_EQ(fs::exists(last() / "x.pul"), c.reason == nullptr);
  ExpectJudged(c, "opening");
  SaveScreen(QStringLiteral("plausibility-open-") + QString::fromLatin1(c.name));

  // The recording check on the opened record.
  form->Button3Click();
  ExpectJudged(c, "check");
  EXPECT_EQ(form->Button4->isEnabled(), c.reason == nullptr);
  EXPECT_EQ(form->CheckFailed, c.reason == nullptr ? 0 : 1);
  SaveScreen(QStringLiteral("plausibility-check-") + QString::fromLatin1(c.name));

  // sfigmo-analyze, as JSON and as text.
  const Analysis a = Analyse(archive() / "x.pul");
  EXPECT_EQ(a.json["Accepted"].toBool(), c.reason == nullptr) << a.text.toStdString();
  if (c.reason == nullptr) {
    EXPECT_TRUE(a.json["RejectedBy"].isNull());
    EXPECT_TRUE(a.text.contains(QStringLiteral("Запись принята")));
    EXPECT_TRUE(std::isfinite(a.json["PULS"].toDouble()));
  } else {
    EXPECT_EQ(a.json["RejectedBy"].toString(), QString::fromLatin1(c.reason));
    EXPECT_TRUE(a.text.contains(QStringLiteral("Запись отклонена (") +
                                QString::fromLatin1(c.reason) + QStringLiteral("): ")))
        << a.text.toStdString();
    for (const char* absent : {"PULS", "Verdicts", "ConclusionScore", "Advice"})
      EXPECT_FALSE(a.json.contains(QString::fromLatin1(absent))) << absent;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Periods, Plausibility,
    ::testing::Values(
        PeriodCase{"denormal", std::numeric_limits<double>::denorm_min(), 83, "period"},
        PeriodCase{"tiny", 1e-300, 83, "period"},
        PeriodCase{"below_half_ms", 0.00049, 83, "period"}, PeriodCase{"zero", 0.0, 83, "period"},
        PeriodCase{"negative", -0.01, 83, "period"}, PeriodCase{"nan", kNaN, 83, "period"},
        PeriodCase{"inf", kInf, 83, "period"}, PeriodCase{"minus_inf", -kInf, 83, "period"},
        PeriodCase{"huge", 1e308, 83, "period"}, PeriodCase{"above_half_s", 0.51, 40, "period"},
        // The 500-per-second run's pulse: far too fast.
        PeriodCase{"pulse_2730", 0.0005, 44, "pulse"}, PeriodCase{"pulse_306", 0.0049, 40, "pulse"},
        PeriodCase{"pulse_297", 0.00505, 40, nullptr}, PeriodCase{"pulse_250", 0.01, 24, nullptr},
        PeriodCase{"pulse_20", 0.074, 40, nullptr}, PeriodCase{"pulse_19", 0.079, 40, "pulse"},
        PeriodCase{"plausible_late_first_beat", 0.11, 40, "first-beat"}),
    [](const auto& info) { return std::string(info.param.name); });

// A pulse of 250 is still a pulse: its verdict stays "ВЫСОКИЙ ПУЛЬС".
TEST_F(ArchiveWindow, HighButPlausiblePulseKeepsItsVerdict) {
  const auto record = Recording({"pulse_250", 0.01, 24, nullptr});
  Put(archive() / "x.pul", *record);
  const Analysis a = Analyse(archive() / "x.pul");
  EXPECT_NEAR(a.json["PULS"].toDouble(), 250.0, 1.0);
  EXPECT_TRUE(a.text.contains(QStringLiteral("ВЫСОКИЙ  ПУЛЬС - 2"))) << a.text.toStdString();
}

}  // namespace
}  // namespace sfigmo::test
