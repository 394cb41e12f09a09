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

// One run's working state.
struct RunState {
  std::array<std::int32_t, kSensorSampleSize> frame{};  // the last frame that came
  std::array<std::int64_t, 6> slot{};                   // slots 1..5 of the A window
  std::int64_t sum = 0;
  std::int64_t previousSum = 0;
  double ticks = 0.0;
  int x = 0, n = 0, w = 0;
  int peak = -10000;
  int blink = -1;
  int gain = 0;
  bool lost = false;
};

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

namespace {

enum class Read { Frame, Stopped, Lost };

// The next frame into s.frame. A wait that runs out is no lost frame: the
// library queues what comes, so a frame held up on the way (a stalled link)
// is read once it arrives, and the library's lost-frame count tells a real
// gap. Nothing is ever used twice or made up. Between the waits events run
// and STOP is honoured; kLostAfterFailedReads waits in a row without a frame
// mean the sensor is gone.
Read ReadFrame(RunState& s, const SensorApi& api, RunSurface& surface) {
  for (int failed = 0; failed < kLostAfterFailedReads; ++failed) {
    if (failed > 0) {
      surface.processEvents();
      if (surface.stopRequested()) return Read::Stopped;
    }
    if (IsTrue(api.GetDataSens(s.frame.data()))) return Read::Frame;
  }
  s.lost = true;
  return Read::Lost;
}

// The sweeps' drawing mode for the rest of the run, however it ends.
class SweepScope {
 public:
  explicit SweepScope(RunSurface& surface) : surface_(surface) { surface_.beginSweeps(); }
  ~SweepScope() { surface_.endSweeps(); }
  SweepScope(const SweepScope&) = delete;
  SweepScope& operator=(const SweepScope&) = delete;

 private:
  RunSurface& surface_;
};

// One drawing step j (1..5) of the main loop; false when STOP or a lost
// sensor ended the run.
bool Step(RunState& s, int j, const SensorApi& api, PulsogramRecord& record, RunSurface& surface) {
  const int W = surface.outerWidth();
  const int R = CalibrationSteps(W);
  if (j == 1 && ReadFrame(s, api, surface) != Read::Frame) return false;
  s.w += 1;
  const std::int32_t a = s.frame[2 * j - 1];
  const std::int32_t b = s.frame[2 * j];
  if (s.w >= kPeriodFirstStep && s.w <= kPeriodLastStep) s.ticks += double(a) + double(b);
  s.sum = s.sum - s.slot[6 - j] + a;
  s.slot[6 - j] = a;
  int y = TraceValue(static_cast<int>(s.sum - s.previousSum), s.gain);
  if (s.w > R) {
    s.n += 1;
    if (s.n <= kMaxSamples) record.Samples[s.n - 1] = y - 100;  // no sample past the record's room
  }
  s.previousSum = s.sum;

  if (s.w > R) {
    surface.sweepPen(true);
  } else {
    if (s.w >= kCalibPeakFrom && s.w <= kCalibPeakTo && y > s.peak) s.peak = y;
    if (s.w == R) s.gain = RecalibratedGain(s.gain, s.peak);
    if (s.w % kBlinkSteps == 0) s.blink = -s.blink;
    y = s.blink > 0 ? kSquareHigh : kSquareLow;
    surface.sweepPen(false);
  }

  if (s.x < W - kSweepMargin) {
    s.x += kSweepStep;
    if (s.x == kSweepFirstX) surface.sweepMoveTo(s.x + kSweepOffset, y);
    if (s.x > kSweepFirstX) {
      surface.sweepLineTo(s.x + kSweepOffset, y);
      surface.setProgress(s.w);
      surface.processEvents();
      if (surface.stopRequested()) return false;
    }
  } else {
    surface.clearTrace();
    surface.processEvents();
    s.x = 0;
  }
  return true;
}

// Frames the stream lost while this run stored samples; the samples are
// cleared when any were lost. After a lost sensor no more frames will come to
// confirm a late gap, but a loss already counted still voids the samples.
// 0 without samples or without the library's count.
int LostFrames(const RunState& s, const SensorApi& api, PulsogramRecord& record) {
  if (s.n == 0 || api.GetLostFrames == nullptr) return 0;
  std::array<std::int32_t, kSensorSampleSize> spare{};
  for (int i = 0; i < kConfirmFrames && !s.lost; ++i) api.GetDataSens(spare.data());
  const int lost = std::max(0, static_cast<int>(api.GetLostFrames()));
  if (lost > 0) std::fill(record.Samples, record.Samples + std::min(s.n, kMaxSamples), 0);
  return lost;
}

}  // namespace

RunResult RunMeasurement(const SensorApi& api, PulsogramRecord& record, int startGain,
                         RunSurface& surface) {
  RunState s;
  s.gain = startGain;
  if (!api.complete()) {  // no library: nothing to read, the record stays empty
    record.SampleCount = 0;
    record.SamplePeriod = 0.0;
    record.Gain = startGain;
    RunResult none;
    none.gain = startGain;
    return none;
  }
  api.OpenPort();
  surface.wait(100);
  api.SetDTRPort(1);
  surface.wait(100);
  api.SetStatusSens(1);
  // The seed frame fills the window.
  const Read seed = ReadFrame(s, api, surface);
  for (int i = 1; i <= kStepsPerFrame; ++i) {
    s.slot[i] = s.frame[2 * i - 1];
    s.sum += s.slot[i];
  }
  s.previousSum = s.sum;
  surface.setProgressMaximum(surface.outerWidth() - kSweepMargin);
  surface.setProgress(0);

  bool stopped = seed != Read::Frame;
  // The sweep's x follows the window's own width; its y the design scale.
  const SweepScope sweeps(surface);
  while (!stopped && s.w < surface.outerWidth() - kSweepMargin) {
    for (int j = 1; j <= kStepsPerFrame; ++j) {
      if (!Step(s, j, api, record, surface)) {
        stopped = true;
        break;
      }
    }
  }
  // The last wait took a second; the stop below may take another.
  if (s.lost) surface.processEvents();
  const int framesLost = LostFrames(s, api, record);

  api.SetStatusSens(0);
  api.SetDTRPort(0);
  api.ClosePort();

  RunResult r;
  r.samplesTaken = s.n;
  r.gain = s.gain;
  r.period = PeriodFromTicks(s.ticks);
  r.stopped = stopped;
  r.steps = s.w;
  r.sensorLost = s.lost;
  r.framesLost = framesLost;
  record.SampleCount = static_cast<std::uint16_t>(framesLost > 0 ? 0 : std::min(s.n, kMaxSamples));
  record.SamplePeriod = r.period;
  record.Gain = s.gain;
  return r;
}

}  // namespace sfigmo
