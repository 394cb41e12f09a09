// The start-up check and the measurement run against sensor-sim on a
// pseudo-terminal, through the real device library.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTest>
#include <QTextLayout>
#include <QTimer>
#include <cmath>
#include <functional>
#include <utility>

#include "acquisition/device_library.h"
#include "acquisition/measurement_run.h"
#include "acquisition/startup_check.h"
#include "analysis/screens/check_screen.h"
#include "draw/canvas.h"
#include "draw/session.h"
#include "draw/trace_area.h"
#include "sensor_sim.h"
#include "test_window.h"

namespace sfigmo {
namespace {

using test::SimProcess;
using test::WaitWhileBusy;
using test::TestWindow;

QColor BaseOf(const QWidget* w) { return w->palette().color(QPalette::Base); }

class WithSim : public ::testing::Test {
 protected:
  void start(const QStringList& args = {}) {
    sim = test::StartSensorSim(args);
    ASSERT_TRUE(sim->Started()) << sim->Errors();
    t.form->show();
    t.form->FormActivate();
    sfigmo::test::WaitWhileBusy(*t.form);
  }
  // Runs `action` once the run has drawn `afterSteps` steps.
  void during(int afterSteps, std::function<void()> action) {
    auto* timer = new QTimer(t.form.get());
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [this, timer, afterSteps, action] {
      if (t.form->ProgressBar1->value() >= afterSteps) {
        timer->stop();
        action();
      }
    });
    timer->start();
  }

  std::unique_ptr<SimProcess> sim;
  TestWindow t;
};

TEST_F(WithSim, HealthySensorIsReady) {
  start();
  TForm1& f = *t.form;
  EXPECT_EQ(f.NoSignal, 0);
  EXPECT_EQ(f.Memo1->toPlainText(), QStringLiteral("      ГОТОВО"));
  EXPECT_EQ(BaseOf(f.Memo1), colours::Green);
  EXPECT_EQ(f.Label1->text(), QStringLiteral("Ubat = 9 в."));
  EXPECT_TRUE(f.Memo2->toPlainText().isEmpty());
  EXPECT_TRUE(f.Button1->isEnabled());
  EXPECT_TRUE(t.messages.isEmpty()) << t.messages.join('\n').toStdString();
  t.save(QStringLiteral("start-ready"));
}

TEST_F(WithSim, LowBatteryIsNoSignal) {
  start({QStringLiteral("--battery"), QStringLiteral("7.4")});
  TForm1& f = *t.form;
  EXPECT_EQ(f.NoSignal, 1);
  EXPECT_EQ(f.Memo2->toPlainText(), QStringLiteral("  Сменить Бат."));
  EXPECT_EQ(f.Label1->text(), QStringLiteral("Ubat=7,4"));
  EXPECT_EQ(f.Memo1->toPlainText(), QStringLiteral(" НЕТ СИГНАЛА"));
  EXPECT_FALSE(f.Button1->isEnabled());
  t.save(QStringLiteral("start-low-battery"));
}

TEST_F(WithSim, RefusedStreamStartIsNoSignalWithEmptyMessage) {
  start({QStringLiteral("--refuse-start")});
  TForm1& f = *t.form;
  EXPECT_EQ(f.NoSignal, 1);
  EXPECT_TRUE(f.Memo2->toPlainText().isEmpty());
  EXPECT_EQ(f.Label1->text(), QStringLiteral("Ubat = 9 в."));
  EXPECT_EQ(f.Memo1->toPlainText(), QStringLiteral(" НЕТ СИГНАЛА"));
  EXPECT_FALSE(f.Button1->isEnabled());
}

TEST_F(WithSim, AutomaticRunRecordsAndChecks) {
  start();
  TForm1& f = *t.form;
  bool sawCalibration = false;
  during(200, [&] {
    sawCalibration = true;
    // The square wave: red, between y = 60 and y = 100.
    int red = 0;
    for (int x = 0; x < 400; ++x) red += f.traceCanvas().pixel(x, 60) == colours::Red;
    EXPECT_GT(red, 100);
    t.save(QStringLiteral("live-calibration"));
  });
  bool sawLive = false;
  during(500, [&] {
    sawLive = true;
    EXPECT_FALSE(f.Button8->isHidden());
    EXPECT_TRUE(f.Button8->isEnabled());
    EXPECT_TRUE(f.Button10->isHidden());
    EXPECT_TRUE(f.Button1->isHidden());
    EXPECT_FALSE(f.RadioButton1->isEnabled());
    EXPECT_EQ(f.Memo1->toPlainText(), QString(12, QLatin1Char(' ')));
    t.save(QStringLiteral("live-trace"));
  });
  f.Button1->click();
  WaitWhileBusy(f);
  EXPECT_TRUE(sawCalibration);
  EXPECT_TRUE(sawLive);
  EXPECT_EQ(f.session().ConclusionShown(), 1);
  t.save(QStringLiteral("conclusion-healthy"));  // the README's picture

  // W as the platform reports it (the offscreen platform draws a thin frame).
  const int W = f.outerWidth();
  EXPECT_GE(W, 641);
  const PulsogramRecord& r = *f.CurrentRecord;
  EXPECT_EQ(r.SampleCount, SampleCountForWidth(W));
  EXPECT_NEAR(r.SamplePeriod, 0.02, 1.0 / 3.0e6);
  EXPECT_DOUBLE_EQ(f.WorkingPeriod, r.SamplePeriod);
  EXPECT_EQ(r.Gain, f.CurrentGain);

  EXPECT_FALSE(f.Button1->isHidden());
  EXPECT_TRUE(f.Button1->isEnabled());
  EXPECT_TRUE(f.Button8->isHidden());
  EXPECT_TRUE(f.RadioButton1->isEnabled());
  EXPECT_EQ(f.ProgressBar1->value(), 0);
  EXPECT_EQ(f.CheckFailed, 0);
  EXPECT_TRUE(t.messages.isEmpty()) << t.messages.join('\n').toStdString();

  // The chain went on past the check; check again to look at frame 1.
  f.Button3Click();
  // Accepted: frame 1 with its marks, one per simulated beat (72 per minute).
  EXPECT_EQ(f.Memo2->toPlainText(), QStringLiteral("       КАДР  1"));
  EXPECT_EQ(f.session().CheckViewShown(), 1);
  EXPECT_EQ(f.CheckFailed, 0);
  EXPECT_TRUE(f.Button4->isEnabled());
  const double seconds = r.SampleCount * r.SamplePeriod;
  EXPECT_NEAR(f.Marks.count(), seconds * 72.0 / 60.0, 1.5);
  for (int j = 1; j < f.Marks.count(); ++j) {
    const int gap = f.Marks.Marks[j].Index - f.Marks.Marks[j - 1].Index;
    EXPECT_NEAR(gap * r.SamplePeriod, 60.0 / 72.0, 0.15)
        << "between marks " << j << " and " << j + 1;
  }
  EXPECT_EQ(f.MarkCursor, f.Marks.count() + 1);
  // The first mark's line from y 10 to 150 on the trace area.
  const int p = f.Marks.Marks[0].Index * 2 - 30;
  if (p > 10) {
    EXPECT_EQ(f.traceCanvas().pixel(p, 80), colours::Blue);
  }

  t.save(QStringLiteral("check-accepted"));

  // Checking again shows the same frame with the same numbering.
  const QImage first = f.traceCanvas().image().copy();
  f.Button3Click();
  EXPECT_EQ(f.Memo2->toPlainText(), QStringLiteral("       КАДР  1"));
  EXPECT_EQ(f.traceCanvas().image(), first);
}

TEST_F(WithSim, ManualStopDuringCalibrationStoresNothing) {
  start();
  TForm1& f = *t.form;
  f.RadioButton2->click();
  during(60, [&] {
    EXPECT_FALSE(f.Button10->isHidden());
    EXPECT_TRUE(f.Button10->isEnabled());
    EXPECT_TRUE(f.Button8->isHidden());
    EXPECT_FALSE(f.Button2->isEnabled());
    EXPECT_FALSE(f.Button3->isEnabled());
    EXPECT_FALSE(f.Button4->isEnabled());
    EXPECT_FALSE(f.Button5->isEnabled());
    EXPECT_FALSE(f.Regis_->isEnabled());
    EXPECT_FALSE(f.RadioButton2->isEnabled());
    EXPECT_TRUE(f.ListBox1->isHidden());
    EXPECT_TRUE(f.Edit1->isHidden());
    f.Button10->click();
  });
  f.Button2->click();
  WaitWhileBusy(f);
  EXPECT_EQ(f.CurrentRecord->SampleCount, 0);
  EXPECT_TRUE(f.Button2->isEnabled());
  EXPECT_FALSE(f.Button2->isHidden());
  EXPECT_TRUE(f.Button3->isEnabled());
  EXPECT_TRUE(f.Button10->isHidden());
  EXPECT_TRUE(f.Button1->isHidden());
  EXPECT_EQ(f.StopRequest, 0);
  EXPECT_EQ(f.FrameNumber, 0);
  EXPECT_EQ(f.MarkCursor, 1);
}

TEST_F(WithSim, AutomaticStopReturnsToStart) {
  start();
  TForm1& f = *t.form;
  during(60, [&] { f.Button8->click(); });
  f.Button1->click();
  WaitWhileBusy(f);
  EXPECT_EQ(f.CurrentRecord->SampleCount, 0);
  EXPECT_DOUBLE_EQ(f.CurrentRecord->SamplePeriod, 0.0);  // stopped before step 101
  EXPECT_FALSE(f.Button1->isHidden());
  EXPECT_TRUE(f.Button1->isEnabled());
  EXPECT_TRUE(f.Button8->isHidden());
  EXPECT_FALSE(f.Button8->isEnabled());
  // An empty recording is rejected and the chain ends there.
  EXPECT_EQ(f.Memo2->toPlainText(), QStringLiteral("      ОШИБКА"));
  EXPECT_EQ(f.CheckFailed, 0);  // cleared at the chain's end
}

TEST_F(WithSim, ScaledWindowStoresForItsOwnWidth) {
  sim = test::StartSensorSim();
  ASSERT_TRUE(sim->Started());
  TestWindow wide(1280);
  TForm1& f = *wide.form;
  f.show();
  f.FormActivate();
  sfigmo::test::WaitWhileBusy(f);
  ASSERT_EQ(f.NoSignal, 0);
  f.RadioButton2->click();
  f.Button2->click();
  WaitWhileBusy(f);
  const int W = f.outerWidth();
  EXPECT_GE(W, 1026);
  EXPECT_EQ(f.CurrentRecord->SampleCount, SampleCountForWidth(W));
  EXPECT_GT(f.CurrentRecord->SampleCount, 500);
}

TEST(WithoutSensor, LibraryMessagesReachTheWindow) {
  // A tty that is not there: the library's open error is shown through the
  // window, and the battery then reads 0.
  qputenv("SENSORDRV_PORT", "/dev/sfigmo-no-such-tty");
  TestWindow t;
  t.form->show();
  t.form->FormActivate();
  sfigmo::test::WaitWhileBusy(*t.form);
  qunsetenv("SENSORDRV_PORT");
  QApplication::processEvents();
  ASSERT_FALSE(t.messages.isEmpty());
  EXPECT_TRUE(t.messages.front().contains(QStringLiteral("Ошибка при открытии порта")))
      << t.messages.join('\n').toStdString();
  // No battery reading came: the link is named, not the battery.
  EXPECT_TRUE(t.form->Label1->text().isEmpty());
  EXPECT_EQ(t.form->Memo2->toPlainText(), QString::fromUtf8(kNoSensorLinkText));
  EXPECT_EQ(t.form->NoSignal, 1);
}

// Without a sensor the library's complaints of one check come as one box
// that says what to do; later checks stay quiet until the sensor answers.
TEST(WithoutSensor, OneBoxThenQuietUntilTheSensorAnswers) {
  const QByteArray missing("/dev/sfigmo-no-such-tty");
  qputenv("SENSORDRV_PORT", missing);
  TestWindow t;
  TForm1& f = *t.form;
  f.show();
  const auto activate = [&f] {
    f.FormActivate();
    sfigmo::test::WaitWhileBusy(f);
    QApplication::processEvents();
  };
  activate();
  ASSERT_EQ(t.messages.size(), 1) << t.messages.join('\n').toStdString();
  const QStringList lines = t.messages.front().split(QLatin1Char('\n'));
  EXPECT_EQ(lines.front(), QStringLiteral("Датчик не найден: Датчик не найден. Подключите датчик "
                                          "к USB и нажмите «Проверить снова»."));
  EXPECT_TRUE(t.messages.front().contains(QStringLiteral("Ошибка при открытии порта")));
  QStringList distinct = lines;
  distinct.removeDuplicates();
  EXPECT_EQ(distinct, lines);  // each of the library's texts once

  for (int i = 0; i < 3; ++i) activate();  // e.g. after the program's own windows closed
  EXPECT_EQ(t.messages.size(), 1) << t.messages.join('\n').toStdString();
  EXPECT_EQ(f.Memo1->toPlainText(), QStringLiteral(" НЕТ СИГНАЛА"));
  EXPECT_EQ(f.NoSignal, 1);

  {
    auto sim = test::StartSensorSim();
    ASSERT_TRUE(sim->Started()) << sim->Errors();
    activate();
    EXPECT_EQ(f.NoSignal, 0);
  }
  qputenv("SENSORDRV_PORT", missing);
  activate();  // gone again after it answered: told once more
  qunsetenv("SENSORDRV_PORT");
  EXPECT_EQ(t.messages.size(), 2) << t.messages.join('\n').toStdString();
}

TEST_F(WithSim, MuteSensorIsABrokenLinkNotAFlatBattery) {
  start({QStringLiteral("--mute")});
  TForm1& f = *t.form;
  EXPECT_EQ(f.NoSignal, 1);
  EXPECT_EQ(f.Memo1->toPlainText(), QStringLiteral(" НЕТ СИГНАЛА"));
  EXPECT_EQ(f.Memo2->toPlainText(), QString::fromUtf8(kNoSensorLinkText));
  EXPECT_TRUE(f.Label1->text().isEmpty());
  EXPECT_FALSE(f.Button1->isEnabled());
}

// Every status text is read whole in its memo at the design size: its laid
// out line, with the document's margins, fits the memo's viewport.
TEST(StatusTexts, EveryOneFitsItsMemoAt800) {
  TestWindow t;
  TForm1& f = *t.form;
  f.show();
  const char* texts[] = {" НЕТ СИГНАЛА", "      ГОТОВО", " Нет связи с датчиком",
                         " Нет связи с ПК", "  Сменить Бат.", "      ОШИБКА", "       КАДР  12"};
  for (QPlainTextEdit* memo : {f.Memo1, f.Memo2}) {
    for (const char* text : texts) {
      memo->setPlainText(QString::fromUtf8(text));
      QApplication::processEvents();
      const QTextLayout* layout = memo->document()->firstBlock().layout();
      ASSERT_EQ(layout->lineCount(), 1) << text;
      EXPECT_LE(layout->lineAt(0).naturalTextWidth() + 2 * memo->document()->documentMargin(),
                memo->viewport()->width())
          << text;
    }
  }
  f.Memo1->setPlainText(QStringLiteral(" НЕТ СИГНАЛА"));
  EXPECT_EQ(f.Memo1->font().pointSizeF(), f.font().pointSizeF());  // short: the window's font
  t.save(QStringLiteral("status-no-sensor-link"));
}

// Frames the simulator sent in its last stream, from its --log file.
int FramesOfLastStream(const QString& logPath) {
  QFile log(logPath);
  if (!log.open(QIODevice::ReadOnly)) return -1;
  int frames = 0;
  for (const QByteArray& line : log.readAll().split('\n')) {
    if (line.isEmpty() || line.startsWith("dropped")) continue;
    frames = line.split(' ').front().toInt() == 1 ? 1 : frames + 1;
  }
  return frames;
}

enum class Loss { SilentAfterFrames, Killed };

struct LostSensorCase {
  const char* name;
  Loss loss;
  int frames;  // silent after this many frames, or killed after this many steps
  bool recording;
};

void PrintTo(const LostSensorCase& c, std::ostream* os) { *os << c.name; }

class LostSensor : public WithSim, public ::testing::WithParamInterface<LostSensorCase> {};

TEST_P(LostSensor, RunEndsWithOneMessageAndOnlyMeasuredSamples) {
  const LostSensorCase& c = GetParam();
  QTemporaryDir logDir;
  const QString logPath = logDir.filePath(QStringLiteral("frames.log"));
  QStringList args{QStringLiteral("--log"), logPath};
  if (c.loss == Loss::SilentAfterFrames)
    args << QStringLiteral("--stop-after-frames") << QString::number(c.frames);
  start(args);
  TForm1& f = *t.form;
  ASSERT_EQ(f.NoSignal, 0);
  if (c.loss == Loss::Killed) during(c.frames, [&] { sim->Kill(); });
  QElapsedTimer clock;
  qint64 longestGap = 0;
  qint64 last = 0;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    const qint64 now = clock.elapsed();
    longestGap = std::max(longestGap, now - last);
    last = now;
  });
  clock.start();
  ticker.start(20);
  f.Button1->click();
  WaitWhileBusy(f);
  ticker.stop();
  const int W = f.outerWidth();
  const int R = CalibrationSteps(W);

  // One message, and the run ended within seconds of the last frame.
  ASSERT_EQ(t.messages.size(), 1) << t.messages.join('\n').toStdString();
  EXPECT_TRUE(t.messages.front().contains(QStringLiteral("Датчик перестал отвечать")))
      << t.messages.front().toStdString();
  // Events ran between the waits: no two waits of at least a second each
  // back to back. One wait plus a loaded machine's delay stays below that.
  EXPECT_LT(longestGap, 2000);
  const int frames = FramesOfLastStream(logPath);
  ASSERT_GT(frames, 0);
  EXPECT_LT(clock.elapsed(), frames * 100 + 8000);

  // Only what was measured is stored.
  const int n = f.CurrentRecord->SampleCount;
  EXPECT_LT(n, SampleCountForWidth(W));
  if (!c.recording) {
    EXPECT_EQ(n, 0);
  } else if (c.loss == Loss::SilentAfterFrames) {
    EXPECT_EQ(n, 5 * (frames - 1) - R);  // the seed frame draws nothing
  } else {
    // Frames still in the terminal when it vanished may never be read.
    EXPECT_GT(n, 0);
    EXPECT_LE(n, 5 * (frames - 1) - R);
    EXPECT_EQ((n + R) % 5, 0);
  }

  // Ended as STOP ends a run; no check, calculation or conclusion.
  EXPECT_FALSE(f.Button1->isHidden());
  EXPECT_TRUE(f.Button1->isEnabled());
  EXPECT_TRUE(f.Button8->isHidden());
  EXPECT_TRUE(f.RadioButton1->isEnabled());
  EXPECT_EQ(f.session().CheckViewShown(), 0);
  EXPECT_EQ(f.session().AnalysisViewShown(), 0);
  EXPECT_EQ(f.session().ConclusionShown(), 0);
  EXPECT_NE(f.Memo2->toPlainText(), QStringLiteral("      ОШИБКА"));
  EXPECT_FALSE(f.busy());
  t.save(QStringLiteral("lost-sensor-") + QString::fromLatin1(c.name));

  // The samples that came can be looked at, but the check says the
  // recording was cut short, above its advice or below its frame.
  EXPECT_EQ(f.RecordingCutShort, n > 0);
  if (n == 0) return;
  f.RadioButton2->click();
  f.Button3->click();
  const bool rejected = f.CheckFailed == 1;
  const int top = rejected ? kCutShortRejectionY : kCutShortFrameY;
  int red = 0;
  for (int y = top; y < top + 12; ++y)
    for (int x = 10; x < 300; ++x) red += f.traceCanvas().pixel(x, y) == colours::Red;
  EXPECT_GT(red, 100);
  t.save(QStringLiteral("lost-sensor-check-") + QString::fromLatin1(c.name));
}

INSTANTIATE_TEST_SUITE_P(
    Phases, LostSensor,
    ::testing::Values(LostSensorCase{"calibration", Loss::SilentAfterFrames, 30, false},
                      LostSensorCase{"recording", Loss::SilentAfterFrames, 100, true},
                      LostSensorCase{"killed", Loss::Killed, 450, true}),
    [](const auto& info) { return std::string(info.param.name); });

// Frames lost on the way, whether never sent or thrown away for a bad CRC:
// the run keeps nothing and says so once; nothing is checked or calculated.
struct LossCase {
  const char* name;
  QStringList args;  // {last} stands for the last frame the run uses
};

void PrintTo(const LossCase& c, std::ostream* os) { *os << c.name; }

class LossyStream : public WithSim, public ::testing::WithParamInterface<LossCase> {};

TEST_P(LossyStream, RunKeepsNothingAndSaysSoOnce) {
  const LossCase& c = GetParam();
  TForm1& f = *t.form;
  f.show();
  // Frame 1 is the seed; the steps use frames 2 .. 1 + steps / 5.
  const int W = f.outerWidth();
  const int lastFrame = 1 + (W - 10 + kStepsPerFrame - 1) / kStepsPerFrame;
  QStringList args = c.args;
  args.replaceInStrings(QStringLiteral("{last}"), QString::number(lastFrame));
  start(args);
  ASSERT_EQ(f.NoSignal, 0);
  f.Button1->click();
  WaitWhileBusy(f);

  ASSERT_EQ(t.messages.size(), 1) << t.messages.join('\n').toStdString();
  EXPECT_EQ(t.messages.front(),
            QStringLiteral("Измерение: Связь с датчиком неустойчива: часть данных потеряна. "
                           "Проверьте подключение датчика и повторите измерение."));
  const PulsogramRecord& r = *f.CurrentRecord;
  EXPECT_EQ(r.SampleCount, 0);
  for (int k = 0; k < SampleCountForWidth(W); ++k) ASSERT_EQ(r.Samples[k], 0) << k;
  // No check, calculation or conclusion; START is ready for another try.
  EXPECT_EQ(f.session().CheckViewShown(), 0);
  EXPECT_EQ(f.session().AnalysisViewShown(), 0);
  EXPECT_EQ(f.session().ConclusionShown(), 0);
  EXPECT_FALSE(f.Regis_->isEnabled());
  EXPECT_FALSE(f.Button1->isHidden());
  EXPECT_TRUE(f.Button1->isEnabled());
  EXPECT_FALSE(f.busy());
  t.save(QStringLiteral("lossy-") + QString::fromLatin1(c.name));
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, LossyStream,
    ::testing::Values(
        LossCase{"every_25th", {"--drop-every", "25"}},
        LossCase{"single_while_recording", {"--drop-every", "90", "--drop-limit", "1"}},
        LossCase{"single_in_calibration", {"--drop-every", "30", "--drop-limit", "1"}},
        LossCase{"last_used_frame", {"--drop-every", "{last}", "--drop-limit", "1"}},
        LossCase{"burst_of_five", {"--drop-every", "70", "--drop-burst", "5", "--drop-limit", "1"}},
        LossCase{"single_bad_crc", {"--drop-every", "90", "--drop-limit", "1", "--drop-crc"}},
        LossCase{"every_10th_bad_crc", {"--drop-every", "10", "--drop-crc"}}),
    [](const auto& info) { return std::string(info.param.name); });

// 500 samples per second: 0.63 s of signal cannot hold the beats of a pulse;
// the check rejects it, and nothing is calculated.
TEST_F(WithSim, FiveHundredPerSecondIsNoPulseRecording) {
  start({QStringLiteral("--rate"), QStringLiteral("500")});
  TForm1& f = *t.form;
  // A loaded machine may fall more than 16 frames behind a stream this fast
  // and lose frames; that run keeps nothing and is tried again.
  for (int attempt = 1; attempt <= 3; ++attempt) {
    t.messages.clear();
    f.Button1->click();
    WaitWhileBusy(f);
    if (f.CurrentRecord->SampleCount != 0) break;
  }
  ASSERT_TRUE(t.messages.isEmpty()) << t.messages.join('\n').toStdString();
  const PulsogramRecord& r = *f.CurrentRecord;
  EXPECT_EQ(r.SampleCount, SampleCountForWidth(f.outerWidth()));
  EXPECT_NEAR(r.SamplePeriod, 0.002, 1e-9);
  EXPECT_EQ(f.Memo2->toPlainText(), QStringLiteral("      ОШИБКА"));
  EXPECT_EQ(f.session().ConclusionShown(), 0);
  EXPECT_EQ(f.session().AnalysisViewShown(), 0);
  MarkTable marks;
  EXPECT_FALSE(CheckRecording(r, marks).accepted());
  t.save(QStringLiteral("rate-500-check"));
}

TEST_F(WithSim, ReplayedRecordingIsAcceptedAtAModerateGain) {
  start({QStringLiteral("--replay"), QStringLiteral(SFIGMO_PPG_DATA_DIR "/finger-ppg-100hz.csv"),
         QStringLiteral("--replay-rate"), QStringLiteral("100")});
  TForm1& f = *t.form;
  f.Button1->click();
  WaitWhileBusy(f);
  EXPECT_EQ(f.CurrentRecord->SampleCount, SampleCountForWidth(f.outerWidth()));
  EXPECT_EQ(f.session().ConclusionShown(), 1) << "the check rejected the replayed recording";
  EXPECT_GE(f.CurrentRecord->Gain, 5);
  EXPECT_LE(f.CurrentRecord->Gain, 60);
  EXPECT_TRUE(t.messages.isEmpty()) << t.messages.join('\n').toStdString();
  t.save(QStringLiteral("replay-conclusion"));
  f.Button3Click();
  t.save(QStringLiteral("replay-check"));
}

// A dicrotic swing deep enough to be marked as a beat: the check frame shows
// the marks as counted, and below it the red signal warning.
TEST_F(WithSim, DoubleCountedRunShowsTheSignalWarning) {
  start({QStringLiteral("--dicrotic-depth"), QStringLiteral("8")});
  TForm1& f = *t.form;
  f.RadioButton2->click();
  f.Button2->click();
  WaitWhileBusy(f);
  f.Button3Click();
  ASSERT_EQ(f.CheckFailed, 0);
  ASSERT_GT(f.Marks.count(), 12);  // two marks per beat
  int red = 0;
  const Canvas& c = f.traceCanvas();
  for (int y = kSignalWarningY; y < kSignalWarningY + 14; ++y)
    for (int x = 10; x < 300; ++x) red += c.pixel(x, y) == colours::Red;
  EXPECT_GT(red, 100);
  t.save(QStringLiteral("check-signal-warning"));
}

}  // namespace
}  // namespace sfigmo

namespace sfigmo {
namespace {

using test::WaitWhileBusy;

// What the user does while a START run is at some phase.
enum class RunPhaseAt { Calibration, Recording, Check, Calculation };
enum class UserAction { CloseWindow, PressStop, MenuKey };

struct InterruptCase {
  const char* name;
  RunPhaseAt phase;
  UserAction action;
};

void PrintTo(const InterruptCase& c, std::ostream* os) { *os << c.name; }

void ClickAt(TForm1& f, QWidget* control) {
  QTest::mouseClick(f.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                    control->mapTo(&f, control->rect().center()));
}

// Runs `action` synchronously the first time `watched` gets an event of `type`.
class OnEvent : public QObject {
 public:
  OnEvent(QObject* watched, QEvent::Type type, std::function<bool()> when,
          std::function<void()> action)
      : type_(type), when_(std::move(when)), action_(std::move(action)) {
    watched->installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == type_ && action_ && when_()) std::exchange(action_, nullptr)();
    return false;
  }

 private:
  QEvent::Type type_;
  std::function<bool()> when_;
  std::function<void()> action_;
};

class RunInterrupted : public WithSim, public ::testing::WithParamInterface<InterruptCase> {
 protected:
  void act(UserAction action) {
    TForm1& f = *t.form;
    acted = true;
    switch (action) {
      case UserAction::CloseWindow:
        f.windowHandle()->close();  // as the title bar's close button does
        break;
      case UserAction::PressStop:
        ClickAt(f, f.Button8);
        break;
      case UserAction::MenuKey: {
        // Alt+Л: "Фай&л"
        QTest::sendKeyEvent(QTest::Click, &f, Qt::Key(0x041B), QStringLiteral("л"),
                            Qt::AltModifier);
        QWidget* menu = QApplication::activePopupWidget();
        menuOpened = menu != nullptr;
        if (menu) {  // Р: "Отк&р", the archive
          QTest::sendKeyEvent(QTest::Click, menu, Qt::Key(0x0420), QStringLiteral("р"),
                              Qt::NoModifier);
          if (QWidget* still = QApplication::activePopupWidget())
            QTest::keyClick(still, Qt::Key_Escape);
        }
        break;
      }
    }
  }

  bool acted = false;
  bool menuOpened = false;
};

TEST_P(RunInterrupted, SensorEndsClosedNothingSavedNoSecondRun) {
  const InterruptCase& c = GetParam();
  start();
  TForm1& f = *t.form;
  ASSERT_EQ(f.NoSignal, 0);
  f.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
  int runsStarted = 0;
  QObject::connect(f.Memo1, &QPlainTextEdit::textChanged, [&] {
    runsStarted += f.Memo1->toPlainText() == QString(12, QLatin1Char(' '));
  });
  const int R = CalibrationSteps(f.outerWidth());
  std::unique_ptr<OnEvent> hook;
  switch (c.phase) {
    case RunPhaseAt::Calibration:
      during(60, [&] { act(c.action); });
      break;
    case RunPhaseAt::Recording:
      during(R + 40, [&] { act(c.action); });
      break;
    case RunPhaseAt::Check:  // the accepted frame's caption is being shown
      QObject::connect(f.Memo2, &QPlainTextEdit::textChanged, [&] {
        if (!acted && f.Memo2->toPlainText().contains(QStringLiteral("КАДР"))) act(c.action);
      });
      break;
    case RunPhaseAt::Calculation:  // the results are in, the conclusion not yet
      hook = std::make_unique<OnEvent>(
          f.Button5, QEvent::EnabledChange, [&] { return f.Button5->isEnabled(); },
          [&] { act(c.action); });
      break;
  }
  ClickAt(f, f.Button1);
  WaitWhileBusy(f);
  ASSERT_TRUE(acted);
  if (c.action == UserAction::MenuKey) EXPECT_TRUE(menuOpened);
  QTest::qWait(50);

  const SensorApi& api = f.deviceLibrary().api();
  ASSERT_NE(api.CheckOpenPort, nullptr);
  EXPECT_FALSE(IsTrue(api.CheckOpenPort())) << "the sensor was left open";
  EXPECT_EQ(runsStarted, 1);
  EXPECT_FALSE(f.busy());
  QStringList saved;
  for (QDirIterator it(t.folder.path(), {QStringLiteral("*.pul")}, QDir::Files,
                       QDirIterator::Subdirectories);
       it.hasNext();)
    saved << it.next();
  EXPECT_TRUE(saved.isEmpty()) << saved.join(u'\n').toStdString();
  EXPECT_EQ(f.isVisible(), c.action != UserAction::CloseWindow);
  // The archive's entry did nothing: automatic mode shows no step buttons.
  EXPECT_TRUE(f.Button2->isHidden());
  EXPECT_TRUE(f.ListBox1->isHidden());
  if (c.action == UserAction::CloseWindow) {
    EXPECT_FALSE(f.CurrentRecord);  // released by the close
  } else if (c.action == UserAction::PressStop && (c.phase == RunPhaseAt::Calibration)) {
    EXPECT_EQ(f.CurrentRecord->SampleCount, 0);
  }
  EXPECT_TRUE(t.messages.isEmpty()) << t.messages.join(u'\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Phases, RunInterrupted,
    ::testing::Values(
        InterruptCase{"close_in_calibration", RunPhaseAt::Calibration, UserAction::CloseWindow},
        InterruptCase{"stop_in_calibration", RunPhaseAt::Calibration, UserAction::PressStop},
        InterruptCase{"menu_in_calibration", RunPhaseAt::Calibration, UserAction::MenuKey},
        InterruptCase{"close_in_recording", RunPhaseAt::Recording, UserAction::CloseWindow},
        InterruptCase{"stop_in_recording", RunPhaseAt::Recording, UserAction::PressStop},
        InterruptCase{"menu_in_recording", RunPhaseAt::Recording, UserAction::MenuKey},
        InterruptCase{"close_in_check", RunPhaseAt::Check, UserAction::CloseWindow},
        InterruptCase{"stop_in_check", RunPhaseAt::Check, UserAction::PressStop},
        InterruptCase{"menu_in_check", RunPhaseAt::Check, UserAction::MenuKey},
        InterruptCase{"close_in_calculation", RunPhaseAt::Calculation, UserAction::CloseWindow},
        InterruptCase{"stop_in_calculation", RunPhaseAt::Calculation, UserAction::PressStop},
        InterruptCase{"menu_in_calculation", RunPhaseAt::Calculation, UserAction::MenuKey}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace sfigmo
