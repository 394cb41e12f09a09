#include "acquisition/measurement_run.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>


namespace sfigmo {

namespace {

int RoundToInt(double v) {
  // Ties to even (the default rounding mode); out-of-range values are pinned
  // so a freak gain can never be undefined behaviour.
  const double r = std::nearbyint(v);
  if (!(r > std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  if (!(r < std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  return static_cast<int>(r);
}

constexpr int kCalibPeakFrom = 151;  // the peak is taken over steps 151..550
constexpr int kCalibPeakTo = 550;
constexpr int kBlinkSteps = 20;  // square wave half-period
constexpr int kSquareHigh = 100;
constexpr int kSquareLow = 60;

}  // namespace

int CalibrationSteps(int outerWidth) { return RoundToInt(outerWidth / 2.0); }

int SampleCountForWidth(int outerWidth) {
  const int limit = outerWidth - kSweepMargin;
  if (limit <= 0) return 0;
  const int lastStep = (limit + kStepsPerFrame - 1) / kStepsPerFrame * kStepsPerFrame;
  return std::clamp(lastStep - CalibrationSteps(outerWidth), 0, kMaxSamples);
}

int RecalibratedGain(int gain, int peak) {
  if (peak >= 150 || peak == 100) {
    const int g = RoundToInt(75.0 / peak * gain);
    return peak == 100 ? 5 : g;
  }
  return RoundToInt(50.0 / (peak - 100) * gain);
}

int TraceValue(int sumChange, int gain) {
  // The product is 32-bit in the device's arithmetic; wrap it the same way.
  const auto d = static_cast<std::int32_t>(
      static_cast<std::uint32_t>(static_cast<std::int64_t>(sumChange) * gain));
  return RoundToInt(d / 50.0) + 100;
}

double PeriodFromTicks(double tickSum) {
  return tickSum / ((kPeriodLastStep - kPeriodFirstStep + 1) * kTicksPerSecond);
}

// One run's working state.
struct MeasurementMachine::State {
  std::array<std::int32_t, kSensorSampleSize> frame{};  // the last frame that came
  std::array<std::int64_t, 6> slot{};                   // slots 1..5 of the A window
  std::int64_t sum = 0;
  std::int64_t previousSum = 0;
  double ticks = 0.0;
  int x = 0, n = 0, w = 0;
  int peak = -10000;
  int blink = -1;
  int gain = 0;
  int j = 1;                      // the next drawing step of the frame, 1..5
  int failedReads = 0;            // failed frame waits in a row
  bool reading = false;           // a frame wait of step 1 is under way
  bool stopCheckPending = false;  // STOP is read before the next step
  bool stopped = false;
  bool lost = false;
  bool lostYielded = false;
  bool sensorOpen = false;
  bool sweeping = false;
};

MeasurementMachine::MeasurementMachine(const SensorApi& api, PulsogramRecord& record,
                                       int startGain, RunSurface& surface)
    : api_(api), record_(record), surface_(surface), s_(std::make_unique<State>()) {
  s_->gain = startGain;
}

MeasurementMachine::~MeasurementMachine() {
  // A run abandoned mid-way (its window gone) still leaves the sensor closed.
  if (s_->sensorOpen) closeSensor();
  if (s_->sweeping) surface_.endSweeps();
}

MeasurementMachine::Phase MeasurementMachine::phase() const {
  switch (stage_) {
    case Stage::Open:
    case Stage::Dtr:
    case Stage::Stream:
    case Stage::Seed:
      return Phase::Preparing;
    case Stage::Loop:
      return s_->w > CalibrationSteps(surface_.outerWidth()) ? Phase::Recording
                                                             : Phase::Calibration;
    case Stage::Ending:
      return Phase::Ending;
    case Stage::Done:
      break;
  }
  return Phase::Finished;
}

// The next frame into frame. A wait that runs out is no lost frame: the
// library queues what comes, so a frame held up on the way (a stalled link)
// is read once it arrives, and the library's lost-frame count tells a real
// gap. Nothing is ever used twice or made up. Between the waits events run
// (Retry) and STOP is honoured; kLostAfterFailedReads waits in a row without
// a frame mean the sensor is gone.
MeasurementMachine::Read MeasurementMachine::readFrame() {
  State& s = *s_;
  if (s.failedReads > 0 && surface_.stopRequested()) {
    s.failedReads = 0;
    return Read::Stopped;
  }
  if (IsTrue(api_.GetDataSens(s.frame.data()))) {
    s.failedReads = 0;
    return Read::Frame;
  }
  if (++s.failedReads < kLostAfterFailedReads) return Read::Retry;
  s.failedReads = 0;
  s.lost = true;
  return Read::Lost;
}

// The seed frame fills the window; the sweeps begin.
void MeasurementMachine::seedWindow() {
  State& s = *s_;
  for (int i = 1; i <= kStepsPerFrame; ++i) {
    s.slot[i] = s.frame[2 * i - 1];
    s.sum += s.slot[i];
  }
  s.previousSum = s.sum;
}

// One drawing step j (1..5) of the main loop on the frame already read.
MeasurementMachine::Drawn MeasurementMachine::step(int j) {
  State& s = *s_;
  const int W = surface_.outerWidth();
  const int R = CalibrationSteps(W);
  s.w += 1;
  const std::int32_t a = s.frame[2 * j - 1];
  const std::int32_t b = s.frame[2 * j];
  if (s.w >= kPeriodFirstStep && s.w <= kPeriodLastStep) s.ticks += double(a) + double(b);
  s.sum = s.sum - s.slot[6 - j] + a;
  s.slot[6 - j] = a;
  int y = TraceValue(static_cast<int>(s.sum - s.previousSum), s.gain);
  if (s.w > R) {
    s.n += 1;
    if (s.n <= kMaxSamples) record_.Samples[s.n - 1] = y - 100;  // no sample past the record's room
  }
  s.previousSum = s.sum;

  if (s.w > R) {
    surface_.sweepPen(true);
  } else {
    if (s.w >= kCalibPeakFrom && s.w <= kCalibPeakTo && y > s.peak) s.peak = y;
    if (s.w == R) s.gain = RecalibratedGain(s.gain, s.peak);
    if (s.w % kBlinkSteps == 0) s.blink = -s.blink;
    y = s.blink > 0 ? kSquareHigh : kSquareLow;
    surface_.sweepPen(false);
  }

  if (s.x < W - kSweepMargin) {
    s.x += kSweepStep;
    if (s.x == kSweepFirstX) surface_.sweepMoveTo(s.x + kSweepOffset, y);
    if (s.x > kSweepFirstX) {
      surface_.sweepLineTo(s.x + kSweepOffset, y);
      surface_.setProgress(s.w);
      return Drawn::Line;
    }
    return Drawn::Nothing;
  }
  surface_.clearTrace();
  s.x = 0;
  return Drawn::Cleared;
}

void MeasurementMachine::closeSensor() {
  api_.SetStatusSens(0);
  api_.SetDTRPort(0);
  api_.ClosePort();
  s_->sensorOpen = false;
}

// Frames the stream lost while this run stored samples; the samples are
// cleared when any were lost. After a lost sensor no more frames will come to
// confirm a late gap, but a loss already counted still voids the samples.
// Then the sensor is closed and the record's fields written.
void MeasurementMachine::finish() {
  State& s = *s_;
  int framesLost = 0;
  if (s.n > 0 && api_.GetLostFrames != nullptr) {
    std::array<std::int32_t, kSensorSampleSize> spare{};
    for (int i = 0; i < kConfirmFrames && !s.lost; ++i) api_.GetDataSens(spare.data());
    framesLost = std::max(0, static_cast<int>(api_.GetLostFrames()));
    if (framesLost > 0)
      std::fill(record_.Samples, record_.Samples + std::min(s.n, kMaxSamples), 0);
  }
  closeSensor();

  result_.samplesTaken = s.n;
  result_.gain = s.gain;
  result_.period = PeriodFromTicks(s.ticks);
  result_.stopped = s.stopped;
  result_.steps = s.w;
  result_.sensorLost = s.lost;
  result_.framesLost = framesLost;
  record_.SampleCount =
      static_cast<std::uint16_t>(framesLost > 0 ? 0 : std::min(s.n, kMaxSamples));
  record_.SamplePeriod = result_.period;
  record_.Gain = s.gain;
  if (s.sweeping) {
    s.sweeping = false;
    surface_.endSweeps();
  }
}

MeasurementMachine::Next MeasurementMachine::advance() {
  State& s = *s_;
  switch (stage_) {
    case Stage::Open:
      if (!api_.complete()) {  // no library: nothing to read, the record stays empty
        record_.SampleCount = 0;
        record_.SamplePeriod = 0.0;
        record_.Gain = s.gain;
        result_.gain = s.gain;
        stage_ = Stage::Done;
        return {Pause::Finished};
      }
      api_.OpenPort();
      s.sensorOpen = true;
      stage_ = Stage::Dtr;
      return {Pause::Wait, 100};
    case Stage::Dtr:
      api_.SetDTRPort(1);
      stage_ = Stage::Stream;
      return {Pause::Wait, 100};
    case Stage::Stream:
      api_.SetStatusSens(1);
      stage_ = Stage::Seed;
      return {Pause::None};
    case Stage::Seed: {
      const Read seed = readFrame();
      if (seed == Read::Retry) return {Pause::Events};
      seedWindow();
      surface_.setProgressMaximum(surface_.outerWidth() - kSweepMargin);
      surface_.setProgress(0);
      s.stopped = seed != Read::Frame;
      // The sweep's x follows the window's own width; its y the design scale.
      surface_.beginSweeps();
      s.sweeping = true;
      stage_ = Stage::Loop;
      return {Pause::None};
    }
    case Stage::Loop: {
      if (s.stopCheckPending) {
        s.stopCheckPending = false;
        if (surface_.stopRequested()) s.stopped = true;
      }
      if (!s.stopped && s.j == 1 && !s.reading) {
        if (s.w >= surface_.outerWidth() - kSweepMargin) {
          stage_ = Stage::Ending;
          return {Pause::None};
        }
        s.reading = true;
      }
      if (!s.stopped && s.reading) {
        const Read r = readFrame();
        if (r == Read::Retry) return {Pause::Events};
        s.reading = false;
        if (r != Read::Frame) s.stopped = true;
      }
      if (s.stopped) {
        stage_ = Stage::Ending;
        return {Pause::None};
      }
      const Drawn drawn = step(s.j);
      s.j = s.j % kStepsPerFrame + 1;
      if (drawn == Drawn::Line) s.stopCheckPending = true;
      return {drawn == Drawn::Nothing ? Pause::None : Pause::Events};
    }
    case Stage::Ending:
      // The last wait took a second; the stop below may take another.
      if (s.lost && !s.lostYielded) {
        s.lostYielded = true;
        return {Pause::Events};
      }
      finish();
      stage_ = Stage::Done;
      return {Pause::Finished};
    case Stage::Done:
      break;
  }
  return {Pause::Finished};
}

RunResult RunMeasurement(const SensorApi& api, PulsogramRecord& record, int startGain,
                         RunSurface& surface) {
  MeasurementMachine run(api, record, startGain, surface);
  for (;;) {
    const MeasurementMachine::Next next = run.advance();
    if (next.pause == MeasurementMachine::Pause::Finished) break;
    if (next.pause == MeasurementMachine::Pause::Events) surface.giveWay();
    if (next.pause == MeasurementMachine::Pause::Wait) surface.wait(next.milliseconds);
  }
  return run.result();
}

}  // namespace sfigmo
