// Frames missing from a stream, told by the frames' own durations against
// their arrival times: losses are permanent, delays pass.

#include "stream_timeline.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <vector>

namespace sensordrv {
namespace {

struct TimelineCase {
  const char* name;
  double frame;           // seconds per frame, as the frames say
  double clock;           // the sensor's real frame interval relative to that
  int frames;             // frames sent, lost ones included
  std::set<int> lost;     // frame numbers (0-based) that never arrive
  std::set<int> delayed;  // frames that arrive late by `delay`
  double delay;
  std::uint32_t expected;
};

TEST(StreamTimeline, CountsLostFramesAndForgivesDelays) {
  const TimelineCase cases[] = {
      {"steady", 0.1, 1.0, 130, {}, {}, 0.0, 0},
      {"every frame a little late", 0.1, 1.0, 130, {}, {5, 6, 7, 50, 51, 100}, 0.04, 0},
      {"a stall of three frames", 0.1, 1.0, 130, {}, {60, 61, 62}, 0.25, 0},
      {"first frame late", 0.1, 1.0, 130, {}, {0}, 0.045, 0},
      {"one lost", 0.1, 1.0, 130, {70}, {}, 0.0, 1},
      {"one lost three before the end", 0.1, 1.0, 130, {126}, {}, 0.0, 1},
      {"one lost two before the end: not yet seen", 0.1, 1.0, 130, {127}, {}, 0.0, 0},
      {"a burst of four", 0.1, 1.0, 130, {40, 41, 42, 43}, {}, 0.0, 4},
      {"two apart", 0.1, 1.0, 130, {20, 90}, {}, 0.0, 2},
      {"one lost and late frames after it", 0.1, 1.0, 130, {30}, {31, 32, 129}, 0.04, 1},
      {"sensor clock 0.1 % slow", 0.1, 1.001, 130, {}, {}, 0.0, 0},
      {"fast stream, one lost: below 30 ms", 0.01, 1.0, 200, {100}, {}, 0.0, 0},
      {"fast stream, four lost", 0.01, 1.0, 200, {100, 101, 102, 103}, {}, 0.0, 4},
  };
  for (const TimelineCase& c : cases) {
    SCOPED_TRACE(c.name);
    StreamTimeline t;
    const double start = 1000.0;
    for (int k = 0; k < c.frames; ++k) {
      if (c.lost.count(k) != 0) continue;
      const double late = c.delayed.count(k) != 0 ? c.delay : 0.0;
      t.Add(start + k * c.frame * c.clock + late, c.frame);
    }
    EXPECT_EQ(t.Lost(), c.expected);
  }
}

TEST(StreamTimeline, ResetStartsAfresh) {
  StreamTimeline t;
  for (int k : {0, 1, 2, 5, 6, 7, 8}) t.Add(k * 0.1, 0.1);
  EXPECT_EQ(t.Lost(), 2u);
  t.Reset();
  EXPECT_EQ(t.Lost(), 0u);
  EXPECT_EQ(t.Frames(), 0);
  for (int k : {20, 21, 22, 23}) t.Add(k * 0.1, 0.1);
  EXPECT_EQ(t.Lost(), 0u);
}

TEST(StreamTimeline, FrameSecondsAddsTheFivePairs) {
  const std::vector<std::int32_t> sample = {7,     1000,  59000, 2000,  58000, 0,
                                            60000, 30000, 30000, 60000, 0};
  EXPECT_DOUBLE_EQ(FrameSeconds(sample), 0.1);
}

}  // namespace
}  // namespace sensordrv
