#include "analysis/screens/analysis_actions.h"

#include <QHash>
#include <utility>

#include "analysis/record_judgement.h"
#include "analysis/record_report.h"
#include "analysis/rhythm_reading.h"
#include "analysis/screens/check_screen.h"
#include "analysis/screens/conclusion_screen.h"
#include "analysis/screens/results_screen.h"
#include "draw/canvas.h"
#include "draw/screen_text.h"
#include "draw/trace_area.h"

namespace sfigmo {
namespace {

// Tells one recording's samples from another's: a run refills the same
// buffer, and the replay must not draw an old outcome over new samples.
std::size_t RecordKey(const PulsogramRecord& record) {
  const std::size_t seed = qHashMulti(0, record.SampleCount, record.SamplePeriod);
  return qHashBits(record.Samples, sizeof(std::int32_t) * UsableSampleCount(record), seed);
}

}  // namespace

bool AnalysisActions::current(std::size_t key) const {
  return s_.work.CurrentRecord && RecordKey(*s_.work.CurrentRecord) == key;
}

void AnalysisActions::Check() {
  if (!s_.work.CurrentRecord) s_.work.CurrentRecord = std::make_unique<PulsogramRecord>();
  s_.session.apply(Step::CheckShown);
  s_.trace().clear();
  s_.processPendingEvents();

  const PulsogramRecord& record = *s_.work.CurrentRecord;
  RecordJudgement judgement = JudgeRecord(record);
  s_.work.Marks = std::move(judgement.Marks);
  CheckOutcome o{.recordKey = RecordKey(record),
                 .verdict = judgement.Verdict,
                 .quality = std::move(judgement.Quality),
                 .marks = s_.work.Marks};
  if (o.verdict.accepted()) {
    s_.work.FrameNumber += 1;
    if (s_.work.FrameNumber > 1) {
      s_.work.FrameNumber = 1;
      s_.work.MarkCursor = 1;
    }
    o.frame = s_.work.FrameNumber;
    o.cursor = s_.work.MarkCursor;
  } else {
    s_.CheckFailed = 1;
  }
  checked_ = std::move(o);
  drawCheck(*checked_, true);
}

void AnalysisActions::RedrawCheck() {
  if (!checked_ || !current(checked_->recordKey)) return;
  s_.session.apply(Step::CheckShown);
  s_.trace().clear();
  drawCheck(*checked_, false);
}

void AnalysisActions::drawCheck(const CheckOutcome& o, bool live) {
  const PulsogramRecord& record = *s_.work.CurrentRecord;
  Canvas& c = s_.traceCanvas();
  const auto drawCutShort = [&](int y) {
    DrawCutShortNotice(c, y, CutShortText(record, QChar::fromLatin1(s_.decimalSeparator)));
  };
  if (o.verdict.accepted()) {
    s_.view().setStatusText(StatusLine::Status,
                            QStringLiteral("       КАДР  ") + QString::number(o.frame));
    // Drawing moves the mark cursor on; the replay starts from the same
    // place on a copy and so ends where the check left it.
    int replayCursor = o.cursor;
    DrawCheckFrame(c, s_.trace().background(), record, o.marks, s_.view().outerWidth(), o.frame,
                   live ? s_.work.MarkCursor : replayCursor);
    DrawSignalWarning(c, o.quality);
    if (s_.work.CutShort) drawCutShort(kCutShortFrameY);
    s_.session.setEnabled(Control::Calculate, true);
  } else {
    s_.session.showStatus(StatusLine::Status, QColor(255, 0, 0), QStringLiteral("      ОШИБКА"));
    if (live) s_.processPendingEvents();
    c.setFontColor(colours::Black);
    c.setBrushColor(s_.trace().background());
    DrawRejection(c);
    DrawRejectionReason(c,
                        RejectionReason(o.verdict, record, QChar::fromLatin1(s_.decimalSeparator)));
    if (s_.work.CutShort) drawCutShort(kCutShortRejectionY);
    if (live) s_.processPendingEvents();
  }
}

void AnalysisActions::RunCalculation() {
  s_.session.apply(Step::ResultsShown);
  s_.trace().clear();
  s_.processPendingEvents();
  s_.work.FrameNumber = 1;

  // Looked up only now: the events above may have replaced the buffer.
  if (s_.work.CurrentRecord) {
    PulsogramRecord& record = *s_.work.CurrentRecord;
    CalculationOutcome o;
    o.recordKey = RecordKey(record);
    o.completed = CalculateRecord(record, s_.work.Marks, s_.work.WorkingPeriod, s_.work.Results) ==
                  CalcStop::Completed;
    if (o.completed) {
      StoreResults(record, s_.work.Results);
      o.results = s_.work.Results;
    }
    calculated_ = std::move(o);
    drawCalculation(*calculated_);
  }
  s_.traceCanvas().setFontBold(false);
}

void AnalysisActions::RedrawCalculation() {
  if (!calculated_ || !current(calculated_->recordKey)) return;
  s_.session.apply(Step::ResultsShown);
  s_.trace().clear();
  drawCalculation(*calculated_);
  s_.traceCanvas().setFontBold(false);
}

void AnalysisActions::drawCalculation(const CalculationOutcome& o) {
  if (o.completed) {
    DrawResultsScreen(s_.traceCanvas(), o.results, s_.decimalSeparator);
    s_.session.setEnabled(Control::Conclude, true);
  } else {
    DrawCalculationStopped(s_.traceCanvas());
  }
}

void AnalysisActions::ShowConclusion() {
  if (s_.showResultsDialog) s_.showResultsDialog();  // the start-up check runs again after it
  // That check clears the trace area as it ends: the conclusion follows it.
  if (s_.afterCheck) {
    s_.afterCheck([this] { drawConclusion(); });
  } else {
    drawConclusion();
  }
}

void AnalysisActions::drawConclusion() {
  s_.work.FrameNumber = 1;
  s_.session.apply(Step::ConclusionShown);
  s_.trace().clear();
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
