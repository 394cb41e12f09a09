#pragma once
// What the probe says about a run of received frames: count, rate, gaps.

#include <cstdint>
#include <vector>

namespace sensorprobe {

struct FrameStats {
  int count = 0;
  double framesPerSecond = 0.0;
  // Intervals longer than 1.5 times the median: a frame went missing or the sensor stalled.
  int timingGaps = 0;
  double longestIntervalMs = 0.0;
  // Frames missing by the status byte, when the sensor counts frames in it.
  bool statusCounts = false;
  int counterGaps = 0;
};

// times: arrival of each frame in seconds; statuses: element 0 of each frame.
FrameStats AnalyseFrames(const std::vector<double>& times,
                         const std::vector<std::int32_t>& statuses);

}  // namespace sensorprobe
