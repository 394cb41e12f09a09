// The calculation ("Расче&т") and the conclusion ("Заклю&ч") of the main window.

#include <QAction>
#include <QPushButton>
#include <algorithm>
#include <span>

#include "analysis/indices.h"
#include "analysis/screens/conclusion_screen.h"
#include "analysis/screens/results_screen.h"
#include "draw/canvas.h"
#include "results/screens/pages_dlg.h"
#include "ui/decimal_separator.h"
#include "ui/form1.h"

using sfigmo::ShownDecimalSeparator;

void TForm1::RunCalculation() {
  ConclusionShown = 0;
  TrendViewShown = 0;
  Regis_->setEnabled(false);
  AnalysisViewShown = 1;
  CheckViewShown = 0;
  RegistrationViewShown = 0;
  hidePatientFieldsAndLists();
  clearTrace();
  processPendingEvents();
  FrameNumber = 1;

  // Looked up only now: the events above may have replaced the buffer.
  if (CurrentRecord) {
    // A damaged file may claim more samples than the record holds.
    const int count = std::min<int>(CurrentRecord->SampleCount, sfigmo::kMaxSamples);
    const std::span<const std::int32_t> samples(CurrentRecord->Samples,
                                                static_cast<std::size_t>(count));
    if (sfigmo::ComputeAll(samples, Marks, WorkingPeriod, Results) == sfigmo::CalcStop::Completed) {
      sfigmo::AnalysisResults stored = Results;
      stored.Reserved = 0.0;
      CurrentRecord->Results = stored;
      sfigmo::DrawResultsScreen(traceCanvas(), Results,
                                ShownDecimalSeparator(options_.decimalSeparator));
      Button5->setEnabled(true);
    }
  }
  traceCanvas().setFontBold(false);
}

void TForm1::ShowConclusion() {
  if (PagesDlg) {
    PagesDlg->setSources(&Results, CurrentRecord.get());
    PagesDlg->setDecimalSeparator(
        QChar::fromLatin1(ShownDecimalSeparator(options_.decimalSeparator)));
    execModal(PagesDlg);  // the start-up check runs again when it closes
  }

  FrameNumber = 1;
  ConclusionShown = 1;
  TrendViewShown = 0;
  CheckViewShown = 0;
  AnalysisViewShown = 0;
  RegistrationViewShown = 0;
  hidePatientFieldsAndLists();
  Regis_->setEnabled(true);
  clearTrace();
  processPendingEvents();

  sfigmo::DrawConclusionTitle(traceCanvas());
  processPendingEvents();
  const sfigmo::AnalysisResults stored =
      CurrentRecord ? CurrentRecord->Results : sfigmo::AnalysisResults{};
  sfigmo::DrawConclusionBody(traceCanvas(), Results, stored,
                             ShownDecimalSeparator(options_.decimalSeparator));
  if (CurrentRecord) {
    sfigmo::DrawConclusionSignalWarning(
        traceCanvas(), sfigmo::AssessRecordQuality(*CurrentRecord, Marks, WorkingPeriod));
  }
}
