// A minute of streaming at the default rate through the loaded library: every
// frame the simulator sent arrives once, in order, with its values intact.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "fake_ft.h"
#include "library_harness.h"

namespace {

TEST(Stream, SixtySecondsWithoutLoss) {
  SensorLibrary lib;
  ASSERT_TRUE(lib.Load(SENSORDRV_LIBRARY)) << dlerror();
  MessageCapture capture;
  lib.SetMessageSink(&MessageCapture::Sink, &capture);
  const std::string log = TempPath("sim-stream.log");
  SimProcess sim(SENSOR_SIM, {"--log", log});
  setenv("SENSORDRV_PORT", sim.Path().c_str(), 1);

  ASSERT_TRUE(IsTrue(lib.SearchDevices()));
  ASSERT_TRUE(IsTrue(lib.OpenPort()));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  ASSERT_TRUE(IsTrue(lib.SetDTRPort(1)));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  ASSERT_EQ(lib.SetStatusSens(1), 1);
  constexpr int kFrames = 600;  // 10 frames per second at 50 samples per second
  std::vector<SampleValues> got;
  for (int i = 0; i < kFrames; ++i) {
    SampleValues v{};
    ASSERT_EQ(lib.GetDataSens(v.data()), 1) << "frame " << i + 1;
    got.push_back(v);
  }
  EXPECT_EQ(lib.SetStatusSens(0), 1);
  EXPECT_TRUE(IsTrue(lib.SetDTRPort(0)));
  lib.ClosePort();
  sim.Stop();

  const auto sent = ReadSimLog(log);
  std::remove(log.c_str());
  for (int i = 0; i < kFrames; ++i) {
    ASSERT_EQ(sent.count(i + 1), 1u) << "the simulator dropped frame " << i + 1;
    ASSERT_EQ(got[i], sent.at(i + 1)) << "frame " << i + 1;
  }
  EXPECT_FALSE(IsTrue(lib.CheckFailedDevice()));
  EXPECT_TRUE(capture.Texts().empty());
  lib.SetMessageSink(nullptr, nullptr);
}

}  // namespace
