// The measurement run's arithmetic and its loop, driven by a scripted sensor
// on an offscreen canvas.

#include "acquisition/screens/canvas_run_surface.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <set>

#include "acquisition/device_library.h"
#include "draw/canvas.h"
#include "fake_sensor.h"
#include "sensor_sim.h"

namespace sfigmo {
namespace {

using test::FakeSensor;

TEST(Recalibration, PeakAboveOrAt150ScalesTo75) {
  EXPECT_EQ(RecalibratedGain(20, 160), 9);  // 9.375
  EXPECT_EQ(RecalibratedGain(20, 150), 10);
  EXPECT_EQ(RecalibratedGain(20, 300), 5);
}

TEST(Recalibration, PeakBelow150ScalesTo50AboveBaseline) {
  EXPECT_EQ(RecalibratedGain(20, 125), 40);
  EXPECT_EQ(RecalibratedGain(20, 149), 20);  // 20.408
  EXPECT_EQ(RecalibratedGain(20, 102), 500);
}

TEST(Recalibration, FlatPeakAndNoPeak) {
  EXPECT_EQ(RecalibratedGain(20, 100), 5);
  EXPECT_EQ(RecalibratedGain(33, 100), 5);
  EXPECT_EQ(RecalibratedGain(20, -10000), 0);  // window too narrow to see a peak
  EXPECT_EQ(RecalibratedGain(20, 99), -1000);
}

TEST(Recalibration, HalvesGoToEven) {
  EXPECT_EQ(RecalibratedGain(2, 300), 0);   // 0.5
  EXPECT_EQ(RecalibratedGain(6, 300), 2);   // 1.5
  EXPECT_EQ(RecalibratedGain(10, 300), 2);  // 2.5
}

TEST(TraceValues, GainAndRounding) {
  EXPECT_EQ(TraceValue(125, 20), 150);
  EXPECT_EQ(TraceValue(5, 5), 100);   // 0.5 -> 0
  EXPECT_EQ(TraceValue(15, 5), 102);  // 1.5 -> 2
  EXPECT_EQ(TraceValue(-15, 5), 98);
  EXPECT_EQ(TraceValue(0, 40), 100);
}

TEST(TraceValues, ProductWrapsAs32Bit) {
  // 327675 * 10000 overflows 32 bits; the wrapped product is used, no trap.
  const int y = TraceValue(327675, 10000);
  const auto wrapped = static_cast<std::int32_t>(static_cast<std::uint32_t>(3276750000LL));
  EXPECT_EQ(y, static_cast<int>(std::nearbyint(wrapped / 50.0)) + 100);
}

TEST(SampleCount, FollowsTheWindowWidth) {
  EXPECT_EQ(CalibrationSteps(649), 324);  // 324.5 -> even
  EXPECT_EQ(SampleCountForWidth(649), 316);
  EXPECT_EQ(SampleCountForWidth(641), 315);
  EXPECT_EQ(SampleCountForWidth(1300), 640);
  EXPECT_EQ(SampleCountForWidth(1026), 507);  // 641 * 1.6, the scaled frameless window
  EXPECT_EQ(SampleCountForWidth(10), 0);
  EXPECT_EQ(SampleCountForWidth(40000), kMaxSamples);
}

TEST(SampleCount, PeriodFromTicks) {
  EXPECT_DOUBLE_EQ(PeriodFromTicks(100 * 60000.0), 0.02);
  EXPECT_DOUBLE_EQ(PeriodFromTicks(0.0), 0.0);
}

class FakeSurface : public CanvasRunSurface {
 public:
  explicit FakeSurface(int w) : width(w), canvas_(std::max(w, 100), 217) {}
  Canvas& canvas() override { return canvas_; }
  void clearTrace() override {
    canvas_.clear(colours::Silver);
    ++clears;
  }
  void setProgressMaximum(int m) override { progressMax = m; }
  void setProgress(int p) override { progress = p; }
  void giveWay() override { ++events; }
  bool stopRequested() override { return stopAt > 0 && progress >= stopAt; }
  int outerWidth() override { return width; }
  void wait(int) override {}

  // Leftmost and rightmost columns holding a pixel of `colour`, -1 if none.
  std::pair<int, int> columns(QColor colour) const {
    int lo = -1, hi = -1;
    for (int x = 0; x < canvas_.width(); ++x)
      for (int y = 0; y < canvas_.height(); ++y)
        if (canvas_.pixel(x, y) == colour) {
          if (lo < 0) lo = x;
          hi = x;
          break;
        }
    return {lo, hi};
  }

  int width;
  int progressMax = -1, progress = 0, stopAt = 0, clears = 0, events = 0;

 private:
  Canvas canvas_;
};

class RunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeSensor::current = &sensor;
    std::memset(static_cast<void*>(record.get()), 0x5A, sizeof(PulsogramRecord));
  }
  void TearDown() override { FakeSensor::current = nullptr; }

  FakeSensor sensor;
  std::unique_ptr<PulsogramRecord> record = std::make_unique<PulsogramRecord>();
};

TEST_F(RunTest, FullRunStoresTheFormulaCountAndPeriod) {
  FakeSurface surface(649);
  const RunResult r = RunMeasurement(sensor.api(), *record, 20, surface);
  EXPECT_FALSE(r.stopped);
  EXPECT_EQ(r.steps, 640);
  EXPECT_EQ(record->SampleCount, 316);
  EXPECT_DOUBLE_EQ(record->SamplePeriod, 0.02);
  EXPECT_EQ(surface.progressMax, 639);
  // A flat signal peaks at exactly the baseline: the gain drops to 5.
  EXPECT_EQ(record->Gain, 5);
  EXPECT_EQ(record->Samples[0], 0);
  EXPECT_EQ(record->Samples[315], 0);
  EXPECT_EQ(record->Samples[316], 0x5A5A5A5A);  // nothing past the count
  const std::vector<std::string> head(sensor.calls.begin(), sensor.calls.begin() + 3);
  EXPECT_EQ(head, (std::vector<std::string>{"open", "dtr1", "start"}));
  const std::vector<std::string> tail(sensor.calls.end() - 3, sensor.calls.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"stop", "dtr0", "close"}));
  EXPECT_EQ(sensor.framesServed, 1 + 640 / kStepsPerFrame);
}

TEST_F(RunTest, RampCalibratesAndStoresTheScaledSlope) {
  // A rises by 1 per step: from the second frame on the five-value sum grows
  // by 5 per step, so y = 102 at gain 20, the peak is 102 and the new gain 500.
  sensor.frame = [](int k, std::int32_t* v) {
    for (int i = 1; i <= 5; ++i) {
      v[2 * i - 1] = 5 * k + i;
      v[2 * i] = 60000 - v[2 * i - 1];
    }
  };
  FakeSurface surface(649);
  RunMeasurement(sensor.api(), *record, 20, surface);
  EXPECT_EQ(record->Gain, 500);
  ASSERT_EQ(record->SampleCount, 316);
  for (int k = 0; k < 316; ++k) ASSERT_EQ(record->Samples[k], 50) << k;
}

TEST_F(RunTest, SweepDrawsFromX10AndClearsBeforeRecording) {
  FakeSurface surface(649);
  RunMeasurement(sensor.api(), *record, 20, surface);
  // The wrap at W - 10 clears the square wave just before the recording half.
  EXPECT_EQ(surface.clears, 1);
  EXPECT_EQ(surface.columns(colours::Red).first, -1);
  const auto [lo, hi] = surface.columns(colours::Blue);
  EXPECT_EQ(lo, 10);
  EXPECT_LE(hi, 649 - 10 - 30);
  EXPECT_GE(hi, 600);
}

TEST_F(RunTest, StopDuringCalibrationStoresNothing) {
  FakeSurface surface(649);
  surface.stopAt = 150;
  const RunResult r = RunMeasurement(sensor.api(), *record, 20, surface);
  EXPECT_TRUE(r.stopped);
  EXPECT_EQ(r.steps, 150);
  EXPECT_EQ(record->SampleCount, 0);
  EXPECT_EQ(record->Gain, 20);  // the calibration step was never reached
  EXPECT_DOUBLE_EQ(record->SamplePeriod, 50 * 60000.0 / 3e8);  // steps 101..150 only
  const std::vector<std::string> tail(sensor.calls.end() - 3, sensor.calls.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"stop", "dtr0", "close"}));
}

TEST_F(RunTest, StopBeforeStep101LeavesPeriodZero) {
  FakeSurface surface(649);
  surface.stopAt = 60;
  RunMeasurement(sensor.api(), *record, 20, surface);
  EXPECT_EQ(record->SampleCount, 0);
  EXPECT_DOUBLE_EQ(record->SamplePeriod, 0.0);
}

TEST_F(RunTest, LateFramesAreWaitedForNeverRepeated) {
  // Each frame differs, so a repeated or skipped frame shows in the samples.
  const auto varied = [](int k, std::int32_t* v) {
    for (int i = 1; i <= 5; ++i) {
      v[2 * i - 1] = 20000 + (k * 37 + i * 11) % 97 * 5;
      v[2 * i] = 60000 - v[2 * i - 1];
    }
  };
  FakeSensor on_time;
  on_time.frame = varied;
  FakeSensor::current = &on_time;
  FakeSurface plain(649);
  RunMeasurement(on_time.api(), *record, 20, plain);
  const std::vector<std::int32_t> expected(record->Samples, record->Samples + 316);

  // Reads 80 and 81 (steps 396..405, recording) time out: two waits in a
  // row are still a late sensor, not a lost one.
  for (const std::set<int>& late : {std::set<int>{0}, {80}, {80, 81}, {3, 80, 81}}) {
    FakeSensor sensor;
    sensor.frame = varied;
    sensor.lateReads = late;
    FakeSensor::current = &sensor;
    FakeSurface surface(649);
    const RunResult r = RunMeasurement(sensor.api(), *record, 20, surface);
    EXPECT_FALSE(r.stopped);
    EXPECT_FALSE(r.sensorLost);
    EXPECT_EQ(r.steps, 640);
    ASSERT_EQ(record->SampleCount, 316);
    EXPECT_EQ(std::vector<std::int32_t>(record->Samples, record->Samples + 316), expected);
    EXPECT_DOUBLE_EQ(record->SamplePeriod, 0.02);
    EXPECT_EQ(sensor.framesServed, on_time.framesServed);
  }
  FakeSensor::current = &sensor;
}

struct LostCase {
  int framesBeforeMute;
  int measuredSteps;  // from the frames that came, the seed drawing nothing
  int samples;
  double ticks;  // A + B summed over the measured steps 101..200
};

class LostSensorRun : public RunTest, public ::testing::WithParamInterface<LostCase> {};

TEST_P(LostSensorRun, EndsAfterThreeFailedWaitsKeepingOnlyMeasuredValues) {
  const LostCase& c = GetParam();
  sensor.framesBeforeMute = c.framesBeforeMute;
  FakeSurface surface(649);
  const RunResult r = RunMeasurement(sensor.api(), *record, 20, surface);
  EXPECT_TRUE(r.sensorLost);
  EXPECT_TRUE(r.stopped);
  // Three failed waits ended it; nothing was drawn or stored while waiting.
  EXPECT_EQ(r.steps, c.measuredSteps);
  EXPECT_EQ(r.samplesTaken, c.samples);
  EXPECT_EQ(record->SampleCount, c.samples);
  EXPECT_DOUBLE_EQ(record->SamplePeriod, c.ticks / 3e8);
  EXPECT_EQ(record->Samples[c.samples], 0x5A5A5A5A);  // never written
  EXPECT_GE(surface.events, 2);  // events ran between the waits
  const std::vector<std::string> tail(sensor.calls.end() - 3, sensor.calls.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"stop", "dtr0", "close"}));
}

INSTANTIATE_TEST_SUITE_P(
    Phases, LostSensorRun,
    ::testing::Values(LostCase{0, 0, 0, 0.0},              // not even the seed
                      LostCase{1, 0, 0, 0.0},              // nothing after the seed
                      LostCase{30, 145, 0, 45 * 60000.0},  // calibration, period sum cut
                      LostCase{100, 495, 495 - 324, 100 * 60000.0}));  // recording

TEST_F(RunTest, WideWindowNeverWritesPastTheSamples) {
  std::memset(static_cast<void*>(&record->Results), 0x11, sizeof(AnalysisResults));
  AnalysisResults before;
  std::memcpy(static_cast<void*>(&before), &record->Results, sizeof before);
  FakeSurface surface(30000);
  const RunResult r = RunMeasurement(sensor.api(), *record, 20, surface);
  EXPECT_GT(r.samplesTaken, kMaxSamples);
  EXPECT_EQ(record->SampleCount, kMaxSamples);
  EXPECT_EQ(std::memcmp(&before, &record->Results, sizeof before), 0);
}

TEST_F(RunTest, WithoutLibraryNothingIsCalled) {
  FakeSurface surface(649);
  const RunResult r = RunMeasurement(SensorApi{}, *record, 20, surface);
  EXPECT_EQ(r.samplesTaken, 0);
  EXPECT_EQ(record->SampleCount, 0);
  EXPECT_TRUE(sensor.calls.empty());
}

}  // namespace
}  // namespace sfigmo

namespace sfigmo {
namespace {

// A run that stored samples reads kConfirmFrames more and asks the library
// for lost frames; any loss keeps none of the samples.
TEST_F(RunTest, LostFramesKeepNoSamples) {
  struct Case {
    const char* name;
    int lost;     // the library's count; -1: no such export
    int stopAt;   // STOP at this step; 0: a full run
    int samples;  // SampleCount afterwards
    int extraReads;
  };
  const Case cases[] = {
      {"no export", -1, 0, 316, 0},
      {"none lost", 0, 0, 316, kConfirmFrames},
      {"one lost", 1, 0, 0, kConfirmFrames},
      {"many lost", 40, 0, 0, kConfirmFrames},
      {"stopped while recording, one lost", 1, 400, 0, kConfirmFrames},
      {"stopped while calibrating", 1, 150, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeSensor s;
    s.lostFrames = c.lost;
    FakeSensor::current = &s;
    std::memset(static_cast<void*>(record.get()), 0x5A, sizeof(PulsogramRecord));
    FakeSurface surface(649);
    surface.stopAt = c.stopAt;
    const RunResult r = RunMeasurement(s.api(), *record, 20, surface);
    const int stored = std::max(0, r.steps - CalibrationSteps(649));
    EXPECT_EQ(r.framesLost, c.samples == 0 && stored > 0 ? c.lost : 0);
    EXPECT_EQ(record->SampleCount, c.samples);
    EXPECT_EQ(s.framesServed, 1 + r.steps / kStepsPerFrame + c.extraReads);
    for (int k = 0; c.samples == 0 && k < stored; ++k) ASSERT_EQ(record->Samples[k], 0) << k;
    EXPECT_FALSE(r.sensorLost);
    const std::vector<std::string> tail(s.calls.end() - 3, s.calls.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"stop", "dtr0", "close"}));
  }
  FakeSensor::current = &sensor;
}

}  // namespace
}  // namespace sfigmo

namespace sfigmo {
namespace {

// The light level A of pair j (1..5) of each frame sensor-sim sent, by
// sequence number (1 = the stream's first), from its --log file; empty when
// a frame was lost on the way.
std::map<int, std::array<int, 6>> LoggedLevels(const QString& path) {
  QFile log(path);
  std::map<int, std::array<int, 6>> frames;
  if (!log.open(QIODevice::ReadOnly)) return frames;
  for (const QByteArray& line : log.readAll().split('\n')) {
    const QList<QByteArray> f = line.split(' ');
    if (line.startsWith("dropped")) return {};
    if (f.size() != 12) continue;
    std::array<int, 6> a{};
    for (int j = 1; j <= 5; ++j) a[j] = f[2 * j].toInt();
    frames[f[0].toInt()] = a;
  }
  return frames;
}

// A link that holds the sensor's bytes for 1.4 s during the recording, then
// delivers them at once: no frame is lost, so the run keeps every sample,
// each the change of the level between two frames that came one after the
// other. None is made up from a frame used twice.
TEST(StalledLink, EverySampleComesFromConsecutiveFrames) {
  DeviceLibrary lib;
  if (!lib.load(QStringLiteral(SFIGMO_BIN_DIR))) GTEST_SKIP() << "no libsensordrv.so";
  QTemporaryDir dir;
  const QString logPath = dir.filePath(QStringLiteral("frames.log"));
  constexpr int W = 330;  // 320 steps: calibration up to frame 34, then recording
  auto sim = test::StartSensorSim({QStringLiteral("--log"), logPath, QStringLiteral("--stall-at"),
                                   QStringLiteral("45"), QStringLiteral("--stall-ms"),
                                   QStringLiteral("1400")});
  ASSERT_TRUE(sim->Started()) << sim->Errors();
  FakeSurface surface(W);
  auto record = std::make_unique<PulsogramRecord>();
  const RunResult r = RunMeasurement(lib.api(), *record, 20, surface);
  EXPECT_FALSE(r.stopped);
  EXPECT_FALSE(r.sensorLost);
  EXPECT_EQ(r.framesLost, 0);
  const int count = SampleCountForWidth(W);
  ASSERT_EQ(record->SampleCount, count);

  const auto frames = LoggedLevels(logPath);
  const int R = CalibrationSteps(W);
  for (int k = 0; k < count; ++k) {
    const int step = R + 1 + k;
    const int frame = 1 + (step + kStepsPerFrame - 1) / kStepsPerFrame;  // 1: the seed
    const int j = (step - 1) % kStepsPerFrame + 1;
    ASSERT_TRUE(frames.count(frame) && frames.count(frame - 1)) << frame;
    const int change = frames.at(frame)[j] - frames.at(frame - 1)[j];
    ASSERT_EQ(record->Samples[k], TraceValue(change, record->Gain) - 100)
        << "sample " << k << ", frame " << frame;
  }
}

}  // namespace
}  // namespace sfigmo

namespace sfigmo {
namespace {

// Advanced by hand, as the window's event loop advances it, the machine waits
// before the stream as a blocking run did and passes its phases in order
// (what it stores is the blocking run's: RunMeasurement drives the same one).
TEST(MeasurementMachineTest, PassesItsPhasesInOrder) {
  using Machine = MeasurementMachine;
  struct Case {
    const char* name;
    int stopAt;            // STOP once the progress reaches this step; 0: never
    int framesBeforeMute;  // -1: the sensor keeps answering
    bool reachesRecording;
  };
  const Case cases[] = {{"full run", 0, -1, true},
                        {"stopped in calibration", 150, -1, false},
                        {"sensor lost while recording", 0, 100, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeSensor sensor;
    sensor.framesBeforeMute = c.framesBeforeMute;
    FakeSensor::current = &sensor;
    FakeSurface surface(649);
    surface.stopAt = c.stopAt;
    auto record = std::make_unique<PulsogramRecord>();
    Machine run(sensor.api(), *record, 20, surface);
    std::vector<Machine::Phase> phases;
    std::vector<int> waits;
    for (Machine::Next next = run.advance(); next.pause != Machine::Pause::Finished;
         next = run.advance()) {
      if (next.pause == Machine::Pause::Wait) waits.push_back(next.milliseconds);
      if (phases.empty() || phases.back() != run.phase()) phases.push_back(run.phase());
    }
    EXPECT_EQ(run.phase(), Machine::Phase::Finished);
    EXPECT_EQ(waits, (std::vector<int>{100, 100}));
    std::vector<Machine::Phase> order{Machine::Phase::Preparing, Machine::Phase::Calibration};
    if (c.reachesRecording) order.push_back(Machine::Phase::Recording);
    order.push_back(Machine::Phase::Ending);
    EXPECT_EQ(phases, order);
    EXPECT_EQ(run.result().stopped, c.stopAt > 0 || c.framesBeforeMute >= 0);
  }
  FakeSensor::current = nullptr;
}

// A run dropped half-way (its window gone) still closes the sensor.
TEST(MeasurementMachineTest, AbandonedRunClosesTheSensor) {
  FakeSensor sensor;
  FakeSensor::current = &sensor;
  FakeSurface surface(649);
  auto record = std::make_unique<PulsogramRecord>();
  {
    MeasurementMachine run(sensor.api(), *record, 20, surface);
    while (run.phase() != MeasurementMachine::Phase::Calibration) run.advance();
    for (int i = 0; i < 50; ++i) run.advance();
  }
  ASSERT_GE(sensor.calls.size(), 3u);
  const std::vector<std::string> tail(sensor.calls.end() - 3, sensor.calls.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"stop", "dtr0", "close"}));
  FakeSensor::current = nullptr;
}

}  // namespace
}  // namespace sfigmo
