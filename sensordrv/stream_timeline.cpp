#include "stream_timeline.h"

#include <algorithm>
#include <cmath>

namespace sensordrv {

namespace {
constexpr double kTicksPerSecond = 3.0e6;
}  // namespace

void StreamTimeline::Add(double arrivalSeconds, double frameSeconds) {
  double offset = 0.0;
  if (frames_ == 0) {
    first_ = arrivalSeconds;
  } else {
    expected_ += frameSeconds;
    offset = (arrivalSeconds - first_) - expected_;
  }
  lowest_ = std::min(lowest_, offset);
  recent_[static_cast<std::size_t>(frames_ % kWindow)] = offset;
  ++frames_;
}

std::uint32_t StreamTimeline::Lost() const {
  if (frames_ < 2 || !(expected_ > 0.0)) return 0;
  const int held = std::min(frames_, kWindow);
  const double latest = *std::min_element(recent_.begin(), recent_.begin() + held);
  const double gap = latest - lowest_;
  const double frame = expected_ / (frames_ - 1);
  const double tolerance = std::max({0.5 * frame, kMinLostSeconds, kClockTolerance * expected_});
  if (!(gap > tolerance)) return 0;
  const double frames = std::round(gap / frame);
  return frames < 1.0 ? 1u : frames > 1e9 ? 1000000000u : static_cast<std::uint32_t>(frames);
}

double FrameSeconds(std::span<const std::int32_t> sample) {
  double ticks = 0.0;
  for (std::size_t i = 1; i < sample.size() && i <= 10; ++i) ticks += sample[i];
  return ticks / kTicksPerSecond;
}

}  // namespace sensordrv
