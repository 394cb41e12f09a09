#pragma once
// Frames missing from a measurement stream, told by its own clock: every
// frame carries the duration of its five samples (A + B in 3 MHz ticks), so
// the arrival time of frame k should be the first frame's plus the
// durations of frames 2..k. A frame lost on the way (never sent, swallowed
// by the line) leaves every later frame late by its duration for good; a
// late reader or a busy line delays frames only for a while, and they are
// never early. So the offset of the latest frames' earliest arrival from the
// earliest offset of the stream is the time lost.
// Pure: the caller gives the times; one thread.

#include <array>
#include <cstdint>
#include <span>

namespace sensordrv {

class StreamTimeline {
 public:
  // Frames whose earliest arrival is compared with the stream's: a loss is
  // seen once this many frames have come after it.
  static constexpr int kWindow = 3;
  // A gap counts as lost frames above half a frame and above this many
  // seconds (the host's own scheduling delays), and above this share of
  // the stream's length (a sensor clock slightly off its 3 MHz).
  static constexpr double kMinLostSeconds = 0.03;
  static constexpr double kClockTolerance = 0.002;

  void Reset() { *this = StreamTimeline{}; }
  // One measurement frame that arrived at `arrivalSeconds` (any steady
  // clock) and holds samples lasting `frameSeconds`.
  void Add(double arrivalSeconds, double frameSeconds);
  // Frames missing so far: 0, or the gap in whole frames (at least 1).
  std::uint32_t Lost() const;
  int Frames() const { return frames_; }

 private:
  int frames_ = 0;
  double first_ = 0.0;                    // arrival of the first frame
  double expected_ = 0.0;                 // durations of frames 2..k
  double lowest_ = 0.0;                   // earliest offset of the stream
  std::array<double, kWindow> recent_{};  // offsets of the latest frames
};

// Seconds of the five samples of one measurement frame's values
// (sample[1..10], five A, B pairs).
double FrameSeconds(std::span<const std::int32_t> sample);

}  // namespace sensordrv
