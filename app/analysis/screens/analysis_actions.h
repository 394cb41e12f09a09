#pragma once
// The main window's analysis: the recording check ("Про&в"), the
// calculation ("Расче&т") and the conclusion ("Заклю&ч"). Works on the part
// of the window it is handed; main thread only.

#include <QCoreApplication>
#include <QWidget>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>

#include "analysis/beat_marking.h"
#include "analysis/indices.h"
#include "analysis/recording_plausibility.h"
#include "analysis/signal_quality.h"
#include "analysis/working_record.h"
#include "draw/session.h"
#include "draw/trace_area.h"
#include "record/analysis_results.h"
#include "record/pulsogram_record.h"

namespace sfigmo {

struct AnalysisSurface {
  Session& session;
  WorkingRecord work;
  int& CheckFailed;

  // Decimal separator of the numbers shown.
  char decimalSeparator;
  // The results dialog over Results and the current record, modally.
  std::function<void()> showResultsDialog;
  // Runs a step once the start-up check in progress, if any, is over.
  std::function<void(std::function<void()>)> afterCheck;

  SessionView& view() const { return session.view(); }
  TraceArea& trace() const { return view().trace(); }
  Canvas& traceCanvas() const { return trace().canvas(); }
  // Shows the trace area as drawn so far at once; runs no other event.
  void processPendingEvents() const { trace().repaint(); }
};

class AnalysisActions {
 public:
  explicit AnalysisActions(AnalysisSurface surface) : s_(std::move(surface)) {}

  void Check();           // "Про&в": frame 1 with the beat marks, or the advice
  void RunCalculation();  // "Расче&т": the indices and the results screen
  void ShowConclusion();  // "Заклю&ч": the results dialog, then the conclusion screen
  // START's rest after a good run: the check, and when it passed the
  // calculation and the conclusion.
  void CheckAndConclude();

  // A repaint's replay of the check and results screens: each draws what
  // its action last found, and nothing when that was found on other
  // samples. Neither computes nor writes the record.
  void RedrawCheck();
  void RedrawCalculation();

 private:
  // What the last check and calculation found, kept for the replay.
  struct CheckOutcome {
    std::size_t recordKey = 0;  // the samples it was found on
    RecordingVerdict verdict;
    SignalQuality quality;  // accepted recordings only
    MarkTable marks;
    int frame = 1, cursor = 1;
  };
  struct CalculationOutcome {
    std::size_t recordKey = 0;
    bool completed = false;
    AnalysisResults results;
  };

  void drawCheck(const CheckOutcome& o, bool live);
  void drawConclusion();
  void drawCalculation(const CalculationOutcome& o);
  // Whether an outcome with key `key` belongs to the current record.
  bool current(std::size_t key) const;

  AnalysisSurface s_;
  std::optional<CheckOutcome> checked_;
  std::optional<CalculationOutcome> calculated_;
};

}  // namespace sfigmo
