#include "frame_stats.h"

#include <algorithm>

#include "common/median.h"

namespace sensorprobe {

FrameStats AnalyseFrames(const std::vector<double>& times,
                         const std::vector<std::int32_t>& statuses) {
  FrameStats s;
  s.count = static_cast<int>(times.size());
  if (times.size() >= 2) {
    const double span = times.back() - times.front();
    if (span > 0.0) s.framesPerSecond = static_cast<double>(times.size() - 1) / span;
    std::vector<double> intervals;
    for (std::size_t i = 1; i < times.size(); ++i) intervals.push_back(times[i] - times[i - 1]);
    const double median = sfigmo::Median(intervals);
    for (double d : intervals) {
      if (d > 1.5 * median) ++s.timingGaps;
      s.longestIntervalMs = std::max(s.longestIntervalMs, d * 1000.0);
    }
  }
  // A counting status byte steps by one (mod 256) from frame to frame nearly always.
  if (statuses.size() >= 4) {
    int steps = 0, missing = 0;
    for (std::size_t i = 1; i < statuses.size(); ++i) {
      const int step = (statuses[i] - statuses[i - 1] + 256) % 256;
      if (step == 1) ++steps;
      if (step > 1) missing += step - 1;
    }
    s.statusCounts = steps * 10 >= static_cast<int>(statuses.size() - 1) * 8;
    if (s.statusCounts) s.counterGaps = missing;
  }
  return s;
}

}  // namespace sensorprobe
