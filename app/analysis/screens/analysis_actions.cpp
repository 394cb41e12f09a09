#include "analysis/screens/analysis_actions.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>
#include <span>

#include "acquisition/screens/check_screen.h"
#include "analysis/indices.h"
#include "analysis/rhythm_reading.h"
#include "analysis/screens/conclusion_screen.h"
#include "analysis/screens/results_screen.h"
#include "draw/canvas.h"
#include "draw/status_memo.h"

namespace sfigmo {

void AnalysisActions::Check() {
  if (!s_.work.CurrentRecord) s_.work.CurrentRecord = std::make_unique<PulsogramRecord>();
  s_.shown.CheckViewShown = 1;
  s_.shown.AnalysisViewShown = s_.shown.RegistrationViewShown = s_.shown.TrendViewShown =
      s_.shown.ConclusionShown = 0;
  s_.Regis_->setEnabled(false);
  s_.hidePatientFieldsAndLists();
  s_.TreeView1->clear();
  s_.processPendingEvents();

  const RecordingVerdict verdict = CheckRecording(*s_.work.CurrentRecord, s_.work.Marks);
  Canvas& c = s_.traceCanvas();
  const auto drawCutShort = [&](int y) {
    DrawCutShortNotice(c, y,
                       CutShortText(*s_.work.CurrentRecord, QChar::fromLatin1(s_.decimalSeparator)));
  };
  if (verdict.accepted()) {
    s_.work.FrameNumber += 1;
    if (s_.work.FrameNumber > 1) {
      s_.work.FrameNumber = 1;
      s_.work.MarkCursor = 1;
    }
    s_.Memo2->show();
    s_.Memo2->setPlainText(QStringLiteral("       КАДР  ") + QString::number(s_.work.FrameNumber));
    DrawCheckFrame(c, s_.TreeView1->background(), *s_.work.CurrentRecord, s_.work.Marks,
                   s_.outerWidth(), s_.work.FrameNumber, s_.work.MarkCursor);
    DrawSignalWarning(c, AssessRecordQuality(*s_.work.CurrentRecord, s_.work.Marks,
                                             s_.work.CurrentRecord->SamplePeriod));
    if (s_.work.CutShort) drawCutShort(kCutShortFrameY);
    s_.Button4->setEnabled(true);
  } else {
    ShowStatus(s_.Memo2, QColor(255, 0, 0), QStringLiteral("      ОШИБКА"));
    s_.CheckFailed = 1;
    s_.processPendingEvents();
    c.setFontColor(colours::Black);
    c.setBrushColor(s_.TreeView1->background());
    DrawRejection(c);
    DrawRejectionReason(c, RejectionReason(verdict, *s_.work.CurrentRecord,
                                           QChar::fromLatin1(s_.decimalSeparator)));
    if (s_.work.CutShort) drawCutShort(kCutShortRejectionY);
    s_.processPendingEvents();
  }
}

void AnalysisActions::RunCalculation() {
  s_.shown.ConclusionShown = 0;
  s_.shown.TrendViewShown = 0;
  s_.Regis_->setEnabled(false);
  s_.shown.AnalysisViewShown = 1;
  s_.shown.CheckViewShown = 0;
  s_.shown.RegistrationViewShown = 0;
  s_.hidePatientFieldsAndLists();
  s_.TreeView1->clear();
  s_.processPendingEvents();
  s_.work.FrameNumber = 1;

  // Looked up only now: the events above may have replaced the buffer.
  if (s_.work.CurrentRecord) {
    // A damaged file may claim more samples than the record holds.
    const int count = std::min<int>(s_.work.CurrentRecord->SampleCount, kMaxSamples);
    const std::span<const std::int32_t> samples(s_.work.CurrentRecord->Samples,
                                                static_cast<std::size_t>(count));
    if (ComputeAll(samples, s_.work.Marks, s_.work.WorkingPeriod, s_.work.Results) ==
        CalcStop::Completed) {
      AnalysisResults stored = s_.work.Results;
      stored.Reserved = 0.0;
      s_.work.CurrentRecord->Results = stored;
      DrawResultsScreen(s_.traceCanvas(), s_.work.Results, s_.decimalSeparator);
      s_.Button5->setEnabled(true);
    } else {
      DrawCalculationStopped(s_.traceCanvas());
    }
  }
  s_.traceCanvas().setFontBold(false);
}

void AnalysisActions::ShowConclusion() {
  if (s_.showResultsDialog) s_.showResultsDialog();  // the start-up check runs again after it

  s_.work.FrameNumber = 1;
  s_.shown.ConclusionShown = 1;
  s_.shown.TrendViewShown = 0;
  s_.shown.CheckViewShown = 0;
  s_.shown.AnalysisViewShown = 0;
  s_.shown.RegistrationViewShown = 0;
  s_.hidePatientFieldsAndLists();
  s_.Regis_->setEnabled(true);
  s_.TreeView1->clear();
  s_.processPendingEvents();

  DrawConclusionTitle(s_.traceCanvas());
  s_.processPendingEvents();
  const AnalysisResults stored =
      s_.work.CurrentRecord ? s_.work.CurrentRecord->Results : AnalysisResults{};
  DrawConclusionBody(s_.traceCanvas(), s_.work.Results, stored, s_.decimalSeparator);
  if (s_.work.CurrentRecord) {
    const SignalQuality quality =
        AssessRecordQuality(*s_.work.CurrentRecord, s_.work.Marks, s_.work.WorkingPeriod);
    DrawConclusionSignalWarning(s_.traceCanvas(), quality);
    DrawConclusionRhythmWarning(
        s_.traceCanvas(), ShowsIrregularRhythm(s_.work.Marks, quality, s_.work.WorkingPeriod));
  }
}

void AnalysisActions::CheckAndConclude() {
  Check();
  if (s_.CheckFailed != 1) {
    RunCalculation();
    ShowConclusion();
  }
}

}  // namespace sfigmo
