// "Расче&т" and "Заклю&ч" inside the main window: what they write into the
// record, what they draw, the flags and buttons they leave, a calculation
// stopped by a guard, and the dialog's return through the start-up check.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <fstream>

#include "analysis/conclusion_rules.h"
#include "analysis/record_report.h"
#include "analysis/screens/results_screen.h"
#include "draw/session.h"
#include "draw/trace_area.h"
#include "results/screens/pages_dlg.h"
#include "screen_checks.h"
#include "ui/form1.h"
#include "wait_while_busy.h"

namespace {

using sfigmo::AnalysisResults;
using sfigmo::Canvas;
using sfigmo::Screen;
using sfigmo::test::TextAt;

// A pulsogram derived from a real finger recording (finger-100hz: about 59
// beats a minute).
std::vector<std::int32_t> RecordedSamples(double& period, const char* name = "finger-100hz") {
  std::ifstream in(std::string(SFIGMO_TEST_DATA_DIR "/golden/") + name + ".samples");
  std::string key;
  in >> key >> period;
  std::vector<std::int32_t> samples;
  for (std::int32_t v; in >> v;) samples.push_back(v);
  return samples;
}

AnalysisResults Sentinel() {
  AnalysisResults r;
  double* fields = &r.NAGR;
  for (int i = 0; i < 23; ++i) fields[i] = -7777.0 - i;
  return r;
}

class Actions : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    TForm1Options options;
    options.display.ScreenWidth = 800;
    options.libraryFolder = folder_.path();  // no device library: no sensor
    options.programFolder = folder_.path();
    options.messagePresenter = [](const QString&, const QString&, bool) {};
    options.activateOnFirstShow = false;
    options.display.DecimalSeparator = ',';
    form_ = std::make_unique<TForm1>(options);
    dlg_ = new TPagesDlg(form_.get(), {',', 800});
    form_->PagesDlg = dlg_;
    form_->FormActivate();
    sfigmo::test::WaitWhileBusy(*form_);
    ASSERT_TRUE(form_->CurrentRecord);
  }

  void LoadRecording(const char* name = "finger-100hz") {
    double period = 0;
    const std::vector<std::int32_t> s = RecordedSamples(period, name);
    ASSERT_GT(s.size(), 1000u);
    auto& rec = *form_->CurrentRecord;
    std::copy(s.begin(), s.end(), rec.Samples);
    rec.SampleCount = static_cast<std::uint16_t>(s.size());
    rec.SamplePeriod = period;
    form_->WorkingPeriod = period;
    form_->Marks = sfigmo::MarkBeats(std::span<const std::int32_t>(rec.Samples, s.size()));
  }

  // Closes the dialog once its modal loop runs, noting what the user saw.
  void CloseDialogWhenShown() {
    auto* poll = new QTimer(dlg_);
    QObject::connect(poll, &QTimer::timeout, dlg_, [this, poll] {
      if (QApplication::activeModalWidget() != dlg_ || !dlg_->isVisible()) return;
      poll->deleteLater();
      dialogWasVisible_ = true;
      memoWhileDialog_ = form_->Memo1->toPlainText();
      pulseVerdict_ = dlg_->Label2->text();
      dlg_->CloseButtons[0]->click();
    });
    poll->start(10);
  }

  Canvas& canvas() { return form_->traceCanvas(); }
  QColor background() { return form_->TreeView1->background(); }

  QTemporaryDir folder_;
  std::unique_ptr<TForm1> form_;
  TPagesDlg* dlg_ = nullptr;
  bool dialogWasVisible_ = false;
  QString memoWhileDialog_;
  QString pulseVerdict_;
};

TEST_F(Actions, CalculationStoresTheResultsDrawsTheScreenAndEnablesTheConclusion) {
  LoadRecording();
  form_->session().show(Screen::TrendGraph);
  form_->session().setConclusionShown(true);
  form_->FrameNumber = 3;
  form_->Regis_->setEnabled(true);
  form_->Button5->setEnabled(false);
  form_->RunCalculation();

  AnalysisResults expected = form_->Results;
  expected.Reserved = 0.0;
  EXPECT_EQ(form_->CurrentRecord->Results, expected);
  EXPECT_NEAR(form_->Results.PULS, 59, 3);
  EXPECT_TRUE(form_->Button5->isEnabled());
  EXPECT_FALSE(form_->Regis_->isEnabled());
  EXPECT_EQ(form_->session().AnalysisViewShown(), 1);
  EXPECT_EQ(form_->session().CheckViewShown() + form_->session().RegistrationViewShown() +
                form_->session().TrendViewShown() + form_->session().ConclusionShown(),
            0);
  EXPECT_EQ(form_->FrameNumber, 1);
  EXPECT_FALSE(canvas().font().bold());

  Canvas expectedScreen(canvas().width(), canvas().height(), background());
  sfigmo::DrawResultsScreen(expectedScreen, form_->Results, ',');
  EXPECT_TRUE(canvas().image() == expectedScreen.image());
  sfigmo::test::SaveScreenshot(canvas(), QStringLiteral("calculation-recorded"));

  // Again on the same record and marking: same values, same picture.
  const QImage first = canvas().image();
  const AnalysisResults stored = form_->CurrentRecord->Results;
  form_->RunCalculation();
  EXPECT_EQ(form_->CurrentRecord->Results, stored);
  EXPECT_TRUE(canvas().image() == first);
  // The replay of a repaint draws it once more, with the same outcome.
  form_->FormPaint();
  EXPECT_TRUE(canvas().image() == first);
}

// A repaint draws the check and results screens from what their actions
// found: with the marks and both result blocks changed behind the screen's
// back, the picture comes back the same and nothing is recomputed or written.
TEST_F(Actions, RepaintDrawsTheRememberedScreenWithoutComputing) {
  struct Case {
    const char* name;
    bool recording;  // false: an empty record, which the check rejects
    void (TForm1::*action)();
    bool redrawsStatus;
  };
  const Case cases[] = {
      {"check accepted", true, &TForm1::Button3Click, true},
      {"check rejected", false, &TForm1::Button3Click, true},
      {"calculation", true, &TForm1::RunCalculation, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LoadRecording();
    if (!c.recording) form_->CurrentRecord->SampleCount = 0;
    (form_.get()->*c.action)();
    const QImage shown = canvas().image();
    const QString status = form_->Memo2->toPlainText();

    form_->Marks = sfigmo::MarkTable{};
    form_->Results = Sentinel();
    form_->CurrentRecord->Results = Sentinel();
    form_->Memo2->setPlainText(QStringLiteral("x"));
    canvas().textOut(10, 10, QStringLiteral("old"));
    form_->FormPaint();

    EXPECT_TRUE(canvas().image() == shown);
    if (c.redrawsStatus) {
      EXPECT_EQ(form_->Memo2->toPlainText(), status);
    }
    EXPECT_EQ(form_->Marks.count(), 0);
    EXPECT_EQ(form_->Results, Sentinel());
    EXPECT_EQ(form_->CurrentRecord->Results, Sentinel());
  }

  // Other samples in the buffer, as after a new run: nothing old is drawn
  // over them.
  form_->CurrentRecord->Samples[100] += 1000;
  canvas().textOut(10, 10, QStringLiteral("new"));
  const QImage before = canvas().image();
  form_->FormPaint();
  EXPECT_TRUE(canvas().image() == before);
}

// The window's check and calculation are the steps of the tools' chain:
// the same marks, verdict and results as AnalyseRecord on the same record.
TEST_F(Actions, CheckAndCalculationAgreeWithTheToolsAnalysis) {
  for (const char* name : {"finger-100hz", "finger-timed-artefacts", "finger-timed-missed-beats"}) {
    SCOPED_TRACE(name);
    LoadRecording(name);
    form_->CheckFailed = 0;
    form_->Button3Click();
    const sfigmo::RecordReport report = sfigmo::AnalyseRecord(*form_->CurrentRecord, false);
    ASSERT_EQ(form_->Marks.count(), report.Marks.count());
    for (int i = 0; i < report.Marks.count(); ++i) {
      EXPECT_EQ(form_->Marks.Marks[i].Index, report.Marks.Marks[i].Index) << i;
    }
    EXPECT_EQ(form_->CheckFailed == 1, !report.Accepted());
    if (!report.Accepted()) continue;
    form_->RunCalculation();
    EXPECT_EQ(report.Stop, sfigmo::CalcStop::Completed);
    EXPECT_EQ(form_->Results, report.Results);
  }
}

TEST_F(Actions, CalculationStoppedByAGuardLeavesRecordAndButtonAloneAndSaysWhy) {
  LoadRecording();
  form_->Marks = sfigmo::MarkTable{};  // no intervals: the rhythm stage stops
  form_->CurrentRecord->Results = Sentinel();
  canvas().textOut(10, 10, QStringLiteral("old"));
  for (bool enabled : {true, false}) {
    form_->Button5->setEnabled(enabled);
    form_->RunCalculation();
    EXPECT_EQ(form_->CurrentRecord->Results, Sentinel());
    EXPECT_EQ(form_->Button5->isEnabled(), enabled);
    EXPECT_EQ(form_->session().AnalysisViewShown(), 1);  // a repaint tries again
    // No results, the old screen gone, and one line saying why.
    Canvas expected(canvas().width(), canvas().height(), background());
    sfigmo::DrawCalculationStopped(expected);
    EXPECT_TRUE(canvas().image() == expected.image());
    EXPECT_TRUE(TextAt(canvas(), 10, sfigmo::kCalculationStoppedY,
                       QString::fromUtf8(sfigmo::kCalculationStoppedText),
                       {.points = 10, .bold = true, .colour = sfigmo::colours::Red}));
  }
  sfigmo::test::SaveScreenshot(canvas(), QStringLiteral("calculation-stopped"));
}

TEST_F(Actions, ConclusionShowsTheDialogThenTheVerdictsOverTheStartUpCheck) {
  LoadRecording();
  form_->RunCalculation();
  const AnalysisResults working = form_->Results;
  const AnalysisResults stored = form_->CurrentRecord->Results;
  const sfigmo::PulsogramRecord* record = form_->CurrentRecord.get();
  form_->Memo1->setPlainText(QStringLiteral("before"));
  form_->Regis_->setEnabled(false);

  CloseDialogWhenShown();
  form_->ShowConclusion();
  sfigmo::test::WaitWhileBusy(*form_);

  EXPECT_TRUE(dialogWasVisible_);
  EXPECT_EQ(memoWhileDialog_, QStringLiteral("before"));  // the check runs after closing
  EXPECT_EQ(form_->Memo1->toPlainText(), QStringLiteral(" НЕТ СИГНАЛА"));
  const auto rate = sfigmo::PulseRateLine(working.PULS);
  ASSERT_TRUE(rate.has_value());
  EXPECT_TRUE(pulseVerdict_.startsWith(QString::fromStdString(rate->Text)));

  EXPECT_EQ(form_->CurrentRecord.get(), record);
  EXPECT_EQ(form_->CurrentRecord->Results, stored);
  EXPECT_EQ(form_->Results, working);
  EXPECT_EQ(form_->session().ConclusionShown(), 1);
  EXPECT_EQ(form_->session().CheckViewShown() + form_->session().AnalysisViewShown() +
                form_->session().RegistrationViewShown() + form_->session().TrendViewShown(),
            0);
  EXPECT_TRUE(form_->Regis_->isEnabled());

  const sfigmo::test::TextStyle bold{10, true};
  EXPECT_TRUE(TextAt(canvas(), 160, 5, QStringLiteral("З А К Л Ю Ч Е Н И Е "), bold));
  EXPECT_TRUE(TextAt(canvas(), 100, 90, QString::fromStdString(rate->Text), bold));
  EXPECT_EQ(canvas().penColor(), sfigmo::colours::Black);
  EXPECT_EQ(canvas().font().pointSize(), 8);
  sfigmo::test::SaveScreenshot(canvas(), QStringLiteral("conclusion-recorded"));

  // Nothing is replayed after the conclusion.
  const QImage shown = canvas().image();
  form_->FormPaint();
  EXPECT_TRUE(canvas().image() == shown);
}

TEST_F(Actions, ConclusionWithoutADialogStillDraws) {
  LoadRecording();
  form_->RunCalculation();
  form_->PagesDlg = nullptr;
  form_->ShowConclusion();
  EXPECT_EQ(form_->session().ConclusionShown(), 1);
  EXPECT_TRUE(TextAt(canvas(), 160, 5, QStringLiteral("З А К Л Ю Ч Е Н И Е "), {10, true}));
}

}  // namespace
