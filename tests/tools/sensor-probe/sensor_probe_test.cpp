// sensor-probe: its verdict (exit code) against healthy and faulty simulated
// sensors, and the frame statistics it prints.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "frame_stats.h"
#include "sim_process.h"

namespace {

using sensorprobe::AnalyseFrames;
using sfigmo::test::SimProcess;

TEST(FrameStats, RateGapsAndCounter) {
  std::vector<double> times;
  std::vector<std::int32_t> statuses;
  for (int i = 0; i < 20; ++i) {
    if (i == 7) continue;  // one frame lost
    times.push_back(0.1 * i);
    statuses.push_back((250 + i) % 256);  // the counter wraps
  }
  const auto s = AnalyseFrames(times, statuses);
  EXPECT_EQ(s.count, 19);
  EXPECT_NEAR(s.framesPerSecond, 18 / 1.9, 1e-9);
  EXPECT_EQ(s.timingGaps, 1);
  EXPECT_NEAR(s.longestIntervalMs, 200.0, 1e-6);
  EXPECT_TRUE(s.statusCounts);
  EXPECT_EQ(s.counterGaps, 1);

  // A status byte that does not count is not read as gaps.
  const auto still = AnalyseFrames({0.0, 0.1, 0.2, 0.3, 0.4}, {5, 5, 5, 5, 5});
  EXPECT_FALSE(still.statusCounts);
  EXPECT_EQ(still.counterGaps, 0);
  EXPECT_EQ(still.timingGaps, 0);
  EXPECT_EQ(AnalyseFrames({}, {}).count, 0);
  EXPECT_EQ(AnalyseFrames({1.0}, {1}).framesPerSecond, 0.0);
}

struct ProbeRun {
  int exitCode = -1;
  std::string output;
};

ProbeRun RunProbe(const std::vector<std::string>& simArgs, int frames,
                  const std::string& probeArgs = {}) {
  SimProcess sim(SENSOR_SIM, simArgs);
  ProbeRun run;
  const std::string command = std::string(SENSOR_PROBE) + " --frames " + std::to_string(frames) +
                              " --port " + sim.Path() + " " + probeArgs + " 2>&1";
  FILE* p = popen(command.c_str(), "r");
  if (p == nullptr) return run;
  char buf[512];
  while (std::fgets(buf, sizeof buf, p) != nullptr) run.output += buf;
  const int status = pclose(p);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

TEST(SensorProbe, HealthySensorPasses) {
  const auto run = RunProbe({}, 12);
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("напряжение батареи, В         9.00"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("версия                        02 01 00 07"), std::string::npos);
  EXPECT_NE(run.output.find("кадров получено               12 из 12"), std::string::npos);
  EXPECT_NE(run.output.find("пропущено кадров по счётчику  0"), std::string::npos);
}

TEST(SensorProbe, WeakBatteryMissingFramesAndNoSensorFail) {
  EXPECT_EQ(RunProbe({"--battery", "7.4"}, 3).exitCode, 1);
  EXPECT_EQ(RunProbe({"--battery", "7.5"}, 3).exitCode, 0);
  const auto stalled = RunProbe({"--stop-after-frames", "2"}, 3);
  EXPECT_EQ(stalled.exitCode, 1);
  EXPECT_NE(stalled.output.find("кадров получено               2 из 3"), std::string::npos)
      << stalled.output;
  const std::string command =
      std::string(SENSOR_PROBE) + " --port /nonexistent/tty > /dev/null 2>&1";
  const int status = std::system(command.c_str());
  EXPECT_EQ(WEXITSTATUS(status), 1);
}

// A sensor that falls silent or never stops trickling: the probe says what it
// waits for, gives up after three silent waits or at its time limit, and fails.
TEST(SensorProbe, SilenceAndTheTimeLimitEndTheWait) {
  struct Case {
    const char* name;
    std::vector<std::string> simArgs;
    int frames;
    std::string probeArgs;
    std::string said;  // besides the waits
    int silentWaits;   // "кадр не пришёл" lines
  };
  const Case cases[] = {
      {"silent after 2 of 30", {"--stop-after-frames", "2"}, 30, "",
       "датчик молчит 3 с подряд: приём прекращён", 3},
      {"time limit", {}, 1000, "--time-limit 2", "время проверки (2 с) истекло", 0},
      {"garbled battery", {"--battery", "25"}, 3, "", "показание больше 20 В недостоверно", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto run = RunProbe(c.simArgs, c.frames, c.probeArgs);
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_NE(run.output.find("ожидание: ответ на запрос напряжения батареи"), std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find(c.said), std::string::npos) << run.output;
    int waits = 0;
    for (auto at = run.output.find("кадр не пришёл"); at != std::string::npos;
         at = run.output.find("кадр не пришёл", at + 1))
      ++waits;
    EXPECT_EQ(waits, c.silentWaits) << run.output;
  }
}

}  // namespace
