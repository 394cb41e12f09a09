#pragma once
// The measurement run: one value per drawing step from the sensor's stream,
// a calibration half that sets the gain while a square wave is drawn, and a
// recording half that stores one sample per step. The window supplies the
// sweep's drawing, the progress bar, its own outer width and the STOP flag.
// Main thread only; the pace is the sensor's (one frame wait per 5 steps).
// The run is a machine advanced step by step (MeasurementMachine): the window
// drives it from its event loop, RunMeasurement() drives it to the end.

#include <functional>
#include <memory>

#include "acquisition/sensor_api.h"
#include "record/pulsogram_record.h"

namespace sfigmo {

inline constexpr int kStepsPerFrame = 5;
inline constexpr int kSweepStep = 2;      // pixels per step
inline constexpr int kSweepOffset = -30;  // drawn x = sweep x - 30
inline constexpr int kSweepFirstX = 40;   // first point of a sweep
inline constexpr int kSweepMargin = 10;   // the sweep wraps at W - 10
inline constexpr double kTicksPerSecond = 3.0e6;
inline constexpr int kPeriodFirstStep = 101;  // steps whose A + B ticks are summed
inline constexpr int kPeriodLastStep = 200;
// Each failed frame wait lasts about a second: a frame that comes late is
// waited for, and this many failed waits in a row (about three seconds
// without a frame) mean the sensor is gone.
inline constexpr int kLostAfterFailedReads = 3;
// Frames read after the last step and not used: the library sees a frame
// missing from the stream's time line only once a few more have come.
inline constexpr int kConfirmFrames = 2;

// Half of the run: R = round(W / 2), ties to even.
int CalibrationSteps(int outerWidth);
// Samples a full run stores for outer width W (at most the record's room).
int SampleCountForWidth(int outerWidth);
// The gain after calibration, from the gain in use and the peak M.
int RecalibratedGain(int gain, int peak);
// Trace value for a change of the five-value sum: round(d * gain / 50) + 100.
int TraceValue(int sumChange, int gain);
// Seconds per sample from the A + B ticks summed over steps 101..200.
double PeriodFromTicks(double tickSum);

// What the run shows and asks the window. The sweep is drawn in the trace
// area's own x pixels between beginSweeps() and endSweeps(); each step first
// sets the pen of its half (the calibration's or the recording's).
class RunSurface {
 public:
  virtual ~RunSurface() = default;
  virtual void beginSweeps() = 0;
  virtual void endSweeps() = 0;
  virtual void sweepPen(bool recording) = 0;
  virtual void sweepMoveTo(int x, int y) = 0;
  virtual void sweepLineTo(int x, int y) = 0;
  virtual void clearTrace() = 0;  // in the trace area's background colour
  virtual void setProgressMaximum(int maximum) = 0;
  virtual void setProgress(int position) = 0;
  // The run gives way here (after each drawn step, between failed frame
  // waits); STOP is read right after. A surface driven by the event loop does
  // nothing: its driver returns to the loop instead.
  virtual void giveWay() = 0;
  virtual bool stopRequested() = 0;
  virtual int outerWidth() = 0;  // W, read at each test
  virtual void wait(int milliseconds) = 0;
};

struct RunResult {
  int samplesTaken = 0;  // n, before limiting to the record's room
  int gain = 0;          // CurrentGain at the end
  double period = 0.0;   // seconds per sample (WorkingPeriod)
  bool stopped = false;
  int steps = 0;  // w at the end
  // The sensor stopped answering: the run ended as STOP ends it, keeping
  // the samples of the frames that came.
  bool sensorLost = false;
  // Frames of the stream lost on the way (the library's count). Such a run
  // keeps no samples: the ones that came would be run together as if
  // consecutive, shrinking the time base.
  int framesLost = 0;
};

// One measurement run, advanced by the caller: each advance() does the work
// up to the next point where the run gives way, and says how: at once, after
// pending events, after a pause, or never again (finished). STOP and the
// window's width are read only at the points a blocking run read them, so
// both drivers take the same steps. Abandoned mid-run, it closes the sensor.
class MeasurementMachine {
 public:
  enum class Pause { None, Events, Wait, Finished };
  struct Next {
    Pause pause = Pause::None;
    int milliseconds = 0;  // for Pause::Wait
  };
  enum class Phase { Preparing, Calibration, Recording, Ending, Finished };

  MeasurementMachine(const SensorApi& api, PulsogramRecord& record, int startGain,
                     RunSurface& surface);
  ~MeasurementMachine();
  MeasurementMachine(const MeasurementMachine&) = delete;
  MeasurementMachine& operator=(const MeasurementMachine&) = delete;

  Next advance();
  Phase phase() const;
  bool finished() const { return stage_ == Stage::Done; }
  const RunResult& result() const { return result_; }  // once finished

 private:
  enum class Stage { Open, Dtr, Stream, Seed, Loop, Ending, Done };
  enum class Read { Frame, Retry, Stopped, Lost };
  enum class Drawn { Nothing, Line, Cleared };
  Read readFrame();
  Drawn step(int j);
  void seedWindow();
  void finish();
  void closeSensor();

  const SensorApi api_;  // a copy: a caller may hand over a temporary
  PulsogramRecord& record_;
  RunSurface& surface_;
  RunResult result_;
  Stage stage_ = Stage::Open;
  struct State;
  std::unique_ptr<State> s_;
};

// Runs one measurement into `record`: opens the sensor, streams, draws and
// stores, closes the sensor, then writes SampleCount, SamplePeriod and Gain.
// Every step uses a frame that came, in order: a failed frame wait is waited
// again (never filled in from the last frame), and kLostAfterFailedReads of
// them in a row end the run (RunResult::sensorLost). A run that stored
// samples then reads kConfirmFrames more frames (unless the sensor is gone)
// and asks the library how many frames were lost; with any lost, SampleCount
// is 0 and the samples are cleared (RunResult::framesLost).
RunResult RunMeasurement(const SensorApi& api, PulsogramRecord& record, int startGain,
                         RunSurface& surface);

}  // namespace sfigmo
