#pragma once
// Measurement windows made the way the program makes them: the simulated
// sensor's frames (a pulse model or a replayed recording) go through the
// measurement run with its calibration, then through the marking, the
// acceptance test and the rhythm indices. Also an independent count of the
// upstrokes of a recording, to know the true rate of each window.
// Needs a QGuiApplication (the run draws its trace on a canvas).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "analysis/beat_marking.h"
#include "analysis/signal_quality.h"
#include "pulse_model.h"
#include "sim_config.h"
#include "record/analysis_results.h"
#include "record/pulsogram_record.h"

namespace sfigmo::quality {

// The main window's outer width at the design screen: 316 samples a run.
inline constexpr int kDesignOuterWidth = 649;

struct MeasuredWindow {
  double startSeconds = 0.0;  // source time of the first recorded sample
  double endSeconds = 0.0;    // source time just after the last one
  std::unique_ptr<PulsogramRecord> record;
  MarkTable marks;
  bool accepted = false;
  bool calculated = false;  // the rhythm stage completed
  AnalysisResults results;
  SignalQuality quality;
};

// One measurement run on `source` from `skipSeconds` into it (the source is
// restarted first), with the simulator's settings for rate and frames.
MeasuredWindow MeasureWindow(sensorsim::SignalSource& source, const sensorsim::SimConfig& config,
                             double skipSeconds, int outerWidth = kDesignOuterWidth);

// Times (s) of the systolic crests of a source, found on its light level at
// a fine rate, independently of the marking.
std::vector<double> ReferenceBeats(sensorsim::SignalSource& source, double seconds,
                                   double rate = 200.0);

// Beats per minute between `from` and `to` from the crests inside; 0 when
// fewer than four lie there or their intervals are not steady (noise).
double ReferenceRate(const std::vector<double>& beats, double from, double to);

// One window of a replayed recording and the rate counted on the recording
// over the same stretch (0 when it has no steady one).
struct ReplayedWindow {
  MeasuredWindow measured;
  double trueRate = 0.0;
};

// A measurement run started every `step` seconds into a recording, as long
// as the recorded half ends before the recording does.
std::vector<ReplayedWindow> ReplayRecording(const std::string& file, double fileRate,
                                            double step = 1.0);

}  // namespace sfigmo::quality
