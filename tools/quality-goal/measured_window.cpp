#include "measured_window.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <span>

#include "acquisition/measurement_run.h"
#include "analysis/indices.h"
#include "analysis/recording_check.h"
#include "common/median.h"
#include "sim_device.h"

namespace sfigmo::quality {

namespace {

// The device library's functions are plain C pointers without a context:
// the frames come from the device of the run in progress on this thread.
thread_local sensorsim::SimDevice* tCurrentDevice = nullptr;

unsigned char Yes() { return 1; }
unsigned char YesWith(unsigned char) { return 1; }
std::int32_t StatusWith(unsigned char) { return 1; }
void Nothing() {}
std::int32_t Battery(float* volts) {
  *volts = 9.0f;
  return 1;
}
std::int32_t NextFrame(std::int32_t* sample) {
  std::vector<std::uint8_t> wire;
  const sensorsim::FrameRecord frame = tCurrentDevice->NextFrame(wire);
  std::copy(frame.values.begin(), frame.values.end(), sample);
  return 1;
}

SensorApi SimulatedApi() {
  SensorApi api;
  api.CheckOpenPort = Yes;
  api.OpenPort = Yes;
  api.GetDataSens = NextFrame;
  api.ClosePort = Nothing;
  api.SetStatusSens = StatusWith;
  api.SetDTRPort = YesWith;
  api.GetVBat = Battery;
  api.SearchDevices = Yes;
  return api;
}

class QuietSurface : public RunSurface {
 public:
  explicit QuietSurface(int width) : width_(width) {}
  void beginSweeps() override {}
  void endSweeps() override {}
  void sweepPen(bool) override {}
  void sweepMoveTo(int, int) override {}
  void sweepLineTo(int, int) override {}
  void clearTrace() override {}
  void setProgressMaximum(int) override {}
  void setProgress(int) override {}
  void giveWay() override {}
  bool stopRequested() override { return false; }
  int outerWidth() override { return width_; }
  void wait(int) override {}

 private:
  int width_;
};

}  // namespace

MeasuredWindow MeasureWindow(sensorsim::SignalSource& source, const sensorsim::SimConfig& config,
                             double skipSeconds, int outerWidth) {
  source.Restart();
  const long skip = std::lround(skipSeconds * config.rate);
  for (long i = 0; i < skip; ++i) source.NextLevel();

  sensorsim::SimDevice device(config, source);
  tCurrentDevice = &device;
  QuietSurface surface(outerWidth);
  MeasuredWindow w;
  w.record = std::make_unique<PulsogramRecord>();
  RunMeasurement(SimulatedApi(), *w.record, 20, surface);
  tCurrentDevice = nullptr;

  // The seed frame's five levels, then the calibration half, then the
  // recording: sample k is level 5 + R + k - 1 after the skip.
  const double first = skip + kStepsPerFrame + CalibrationSteps(outerWidth);
  w.startSeconds = first / config.rate;
  w.endSeconds = (first + w.record->SampleCount) / config.rate;

  const std::span<const std::int32_t> samples(
      w.record->Samples, static_cast<std::size_t>(UsableSampleCount(*w.record)));
  w.accepted = MarkAndAccept(*w.record, w.marks);
  w.calculated = ComputeRhythm(CardioIntervals(w.marks), w.record->SamplePeriod, w.results) !=
                 CalcStop::Rhythm1;
  w.quality = AssessSignalQuality(samples, w.marks, w.record->SamplePeriod);
  return w;
}

std::vector<double> ReferenceBeats(sensorsim::SignalSource& source, double seconds, double rate) {
  source.Restart();
  const auto n = static_cast<std::size_t>(seconds * rate);
  std::vector<double> volume(n);  // the light level falls as blood volume rises
  for (double& v : volume) v = -source.NextLevel();

  // A systolic crest is the highest point within 0.3 s either side and rises
  // above 60 % of the range (5th to 95th percentile) of the 5 s around it;
  // the dicrotic crest and the noise stay below that.
  const auto half = static_cast<std::size_t>(2.5 * rate);
  const auto near = static_cast<std::size_t>(0.3 * rate);
  std::vector<double> times;
  std::vector<double> around;
  for (std::size_t i = 1; i + 1 < n; ++i) {
    const std::size_t lo = i >= near ? i - near : 0;
    const std::size_t hi = std::min(n, i + near + 1);
    if (*std::max_element(volume.begin() + static_cast<long>(lo),
                          volume.begin() + static_cast<long>(hi)) > volume[i] ||
        volume[i - 1] >= volume[i])
      continue;
    const std::size_t a = i >= half ? i - half : 0;
    const std::size_t b = std::min(n, i + half);
    around.assign(volume.begin() + static_cast<long>(a), volume.begin() + static_cast<long>(b));
    const auto p5 = around.begin() + static_cast<long>(around.size() / 20);
    std::nth_element(around.begin(), p5, around.end());
    const double low = *p5;
    const auto p95 = around.begin() + static_cast<long>(around.size() * 19 / 20);
    std::nth_element(around.begin(), p95, around.end());
    const double high = *p95;
    if (high <= low || volume[i] < low + 0.6 * (high - low)) continue;
    times.push_back(static_cast<double>(i) / rate);
  }
  return times;
}

double ReferenceRate(const std::vector<double>& beats, double from, double to) {
  const auto a = std::lower_bound(beats.begin(), beats.end(), from);
  const auto b = std::upper_bound(beats.begin(), beats.end(), to);
  if (b - a < 4) return 0.0;
  // Only a steady run of crests gives a rate: every interval within 25 % of
  // their median (else the stretch is noise or movement).
  std::vector<double> intervals;
  for (auto it = a + 1; it != b; ++it) intervals.push_back(*it - *(it - 1));
  const double median = Median(intervals);
  for (double d : intervals) {
    if (std::fabs(d - median) > 0.25 * median) return 0.0;
  }
  return 60.0 * static_cast<double>(b - a - 1) / (*(b - 1) - *a);
}

std::vector<ReplayedWindow> ReplayRecording(const std::string& file, double fileRate, double step) {
  sensorsim::SimConfig config;
  config.replayFile = file;
  config.replayRate = fileRate;
  sensorsim::ReplaySource source(file, fileRate, config.rate);
  sensorsim::ReplaySource fine(file, fileRate, 200.0);
  const std::vector<double> crests = ReferenceBeats(fine, source.Seconds());
  std::vector<ReplayedWindow> windows;
  for (double skip = 0.0;; skip += step) {
    ReplayedWindow w{MeasureWindow(source, config, skip), 0.0};
    if (w.measured.endSeconds > source.Seconds()) break;
    w.trueRate = ReferenceRate(crests, w.measured.startSeconds, w.measured.endSeconds);
    windows.push_back(std::move(w));
  }
  return windows;
}

}  // namespace sfigmo::quality
