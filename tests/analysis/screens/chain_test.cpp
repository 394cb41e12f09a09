// The automatic chain from "СТАРТ" to the conclusion screen against the
// simulated sensor, through the real device library, with the results
// dialog closed by the "user" as soon as it is up.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

#include "analysis/conclusion_rules.h"
#include "common/format_general.h"
#include "draw/session.h"
#include "results/screens/pages_dlg.h"
#include "screen_checks.h"
#include "sensor_sim.h"
#include "ui/form1.h"
#include "wait_while_busy.h"

namespace {

using sfigmo::test::TextAt;

const sfigmo::test::TextStyle kBold{10, true};

class Chain : public ::testing::Test {
 protected:
  // Starts the simulator with `args` and a window that found the sensor;
  // the results dialog closes itself as soon as its modal loop runs.
  void Start(const QStringList& args) {
    sim_ = sfigmo::test::StartSensorSim(args);
    ASSERT_TRUE(sim_->Started()) << sim_->Errors();
    TForm1Options o;
    o.display.ScreenWidth = 800;
    o.programFolder = folder_.path();
    o.display.DecimalSeparator = ',';
    o.activateOnFirstShow = false;
    o.messagePresenter = [this](const QString& text, const QString&, bool) { messages_ << text; };
    form_ = std::make_unique<TForm1>(o);
    dlg_ = new TPagesDlg(form_.get(), {',', 800});
    form_->PagesDlg = dlg_;
    form_->show();
    form_->FormActivate();
    sfigmo::test::WaitWhileBusy(*form_);
    ASSERT_EQ(form_->NoSignal, 0) << messages_.join('\n').toStdString();

    auto* poll = new QTimer(dlg_);
    QObject::connect(poll, &QTimer::timeout, dlg_, [this] {
      if (QApplication::activeModalWidget() != dlg_ || !dlg_->isVisible()) return;
      pulseVerdict_ = dlg_->Label2->text();
      dlg_->CloseButtons[0]->click();
    });
    poll->start(20);
  }

  // The whole automatic chain once.
  void Run(const QStringList& args) {
    ASSERT_NO_FATAL_FAILURE(Start(args));
    form_->Button1->click();
    sfigmo::test::WaitWhileBusy(*form_);
  }

  sfigmo::Canvas& canvas() { return form_->traceCanvas(); }

  QTemporaryDir folder_;
  std::unique_ptr<sfigmo::test::SimProcess> sim_;
  std::unique_ptr<TForm1> form_;
  TPagesDlg* dlg_ = nullptr;
  QStringList messages_;
  QString pulseVerdict_;
};

TEST_F(Chain, HealthyPulseEndsOnTheConclusionWithTheSimulatorsRate) {
  Run({QStringLiteral("--bpm"), QStringLiteral("72")});
  TForm1& f = *form_;
  ASSERT_EQ(f.session().ConclusionShown(), 1) << "the chain stopped before the conclusion";
  EXPECT_NEAR(f.Results.PULS, 72, 2);
  sfigmo::AnalysisResults stored = f.Results;
  stored.Reserved = 0.0;
  EXPECT_EQ(f.CurrentRecord->Results, stored);
  EXPECT_TRUE(f.Regis_->isEnabled());
  EXPECT_TRUE(f.Button1->isEnabled());

  const QString rate = QString::fromStdString(sfigmo::FormatGeneral(f.Results.PULS, 3, 0, ','));
  EXPECT_EQ(pulseVerdict_, QStringLiteral("ЧАСТОТА ПУЛЬСА В НОРМЕ -") + rate);
  EXPECT_TRUE(TextAt(canvas(), 100, 90, QStringLiteral("ЧАСТОТА ПУЛЬСА В НОРМЕ -"), kBold));
  EXPECT_TRUE(TextAt(canvas(), 325, 90, rate, kBold));
  EXPECT_EQ(canvas().pixel(80, 100), sfigmo::colours::Green);
  EXPECT_TRUE(TextAt(canvas(), 100, 60, QStringLiteral("ПЕРЕБОИ НЕ ОБНАРУЖЕНЫ"), kBold));
  // A healthy resting pulse needs no follow-up: score above 70 and the
  // pressure estimate inside 111..139.
  EXPECT_GT(sfigmo::ConclusionScore(f.Results), 70);
  EXPECT_FALSE(sfigmo::AdviceNeeded(
      sfigmo::ConclusionScore(f.Results),
      sfigmo::PressureEstimate(f.CurrentRecord->Results, f.Results.MeanInterval)));
  sfigmo::test::SaveScreenshot(canvas(), QStringLiteral("chain-healthy"));
}

TEST_F(Chain, APauseIsReportedAsInterruptions) {
  // Beats are counted from the stream's start; the recording half begins
  // after about eight beats. A doubled interval is a pause whatever the
  // spread of the others.
  Run({QStringLiteral("--bpm"), QStringLiteral("72"), QStringLiteral("--pause-at"),
       QStringLiteral("12")});
  TForm1& f = *form_;
  ASSERT_EQ(f.session().ConclusionShown(), 1) << "the chain stopped before the conclusion";
  EXPECT_EQ(f.Results.KOLP, 1);
  EXPECT_TRUE(TextAt(canvas(), 100, 60, QStringLiteral("ОБНАРУЖЕНЫ ПЕРЕБОИ"), kBold));
  EXPECT_EQ(canvas().pixel(80, 70), sfigmo::colours::Red);
  sfigmo::test::SaveScreenshot(canvas(), QStringLiteral("chain-pause"));
}

TEST_F(Chain, AnExtrasystoleIsReportedAsInterruptions) {
  // Beat 12 lies in the recording half (see above); it comes early and is
  // followed by a compensatory pause.
  Run({QStringLiteral("--bpm"), QStringLiteral("72"), QStringLiteral("--extrasystole-at"),
       QStringLiteral("12")});
  TForm1& f = *form_;
  ASSERT_EQ(f.session().ConclusionShown(), 1) << "the chain stopped before the conclusion";
  EXPECT_GE(f.Results.KOLE, 1);
  EXPECT_TRUE(TextAt(canvas(), 100, 60, QStringLiteral("ОБНАРУЖЕНЫ ПЕРЕБОИ"), kBold));
  EXPECT_EQ(canvas().pixel(80, 70), sfigmo::colours::Red);
  sfigmo::test::SaveScreenshot(canvas(), QStringLiteral("chain-extrasystole"));
}

TEST_F(Chain, ManualModeStepsThroughEachActionInTurn) {
  ASSERT_NO_FATAL_FAILURE(Start({}));
  TForm1& f = *form_;
  f.RadioButton2->click();
  ASSERT_FALSE(f.Button2->isHidden());
  EXPECT_FALSE(f.Button4->isEnabled());
  EXPECT_FALSE(f.Button5->isEnabled());

  f.Button2->click();  // measure
  sfigmo::test::WaitWhileBusy(f);
  ASSERT_TRUE(f.Button3->isEnabled());
  EXPECT_FALSE(f.Button4->isEnabled());
  f.Button3->click();  // check
  ASSERT_TRUE(f.Button4->isEnabled());
  EXPECT_FALSE(f.Button5->isEnabled());
  f.Button4->click();  // calculate
  EXPECT_EQ(f.session().AnalysisViewShown(), 1);
  ASSERT_TRUE(f.Button5->isEnabled());
  EXPECT_FALSE(f.Regis_->isEnabled());
  EXPECT_TRUE(TextAt(canvas(), 220, 5, QStringLiteral("Р Е З У Л Ь Т А Т"), kBold));
  f.Button5->click();  // conclude
  sfigmo::test::WaitWhileBusy(f);
  EXPECT_EQ(f.session().ConclusionShown(), 1);
  EXPECT_TRUE(f.Regis_->isEnabled());
  EXPECT_FALSE(pulseVerdict_.isEmpty());
  EXPECT_TRUE(TextAt(canvas(), 160, 5, QStringLiteral("З А К Л Ю Ч Е Н И Е "), kBold));
}

}  // namespace
