// libsensordrv.so as the main program uses it: loaded by file name, bound by
// name, driven in the documented calling order against sensor-sim.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "fake_ft.h"
#include "library_harness.h"

namespace {

using namespace std::chrono_literals;
using Texts = std::vector<std::string>;

class LibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lib.Load(SENSORDRV_LIBRARY)) << dlerror();
    lib.SetMessageSink(&MessageCapture::Sink, &capture);
  }
  void TearDown() override { lib.SetMessageSink(nullptr, nullptr); }
  // Starts a simulator and points the library at it.
  std::unique_ptr<SimProcess> StartSim(std::vector<std::string> args = {}) {
    auto sim = std::make_unique<SimProcess>(SENSOR_SIM, args);
    EXPECT_FALSE(sim->Path().empty());
    setenv("SENSORDRV_PORT", sim->Path().c_str(), 1);
    return sim;
  }
  // Steps 1 to 4 of the calling order.
  void OpenAndRaiseDtr() {
    ASSERT_TRUE(IsTrue(lib.SearchDevices()));
    ASSERT_TRUE(IsTrue(lib.OpenPort())) << capture.Texts().size();
    std::this_thread::sleep_for(100ms);
    ASSERT_TRUE(IsTrue(lib.SetDTRPort(1)));
    std::this_thread::sleep_for(100ms);
  }
  void Finish(bool portAlive = true) {
    lib.SetStatusSens(0);
    const int threads = ThreadCount();
    EXPECT_EQ(IsTrue(lib.SetDTRPort(0)), portAlive);
    EXPECT_EQ(ThreadCount(), threads - 1);  // the reader has ended
    lib.ClosePort();
    EXPECT_FALSE(IsTrue(lib.CheckOpenPort()));
  }
  SensorLibrary lib;
  MessageCapture capture;
};

TEST_F(LibraryTest, NoDeviceFailsWithMessagesAndStartsNoThread) {
  setenv("SENSORDRV_PORT", "/nonexistent/ttyUSB7", 1);
  const int threads = ThreadCount();
  EXPECT_FALSE(IsTrue(lib.CheckFailedDevice()));
  EXPECT_TRUE(IsTrue(lib.CheckStatusCmd()));
  EXPECT_FALSE(IsTrue(lib.SetDTRPort(1)));  // before any open
  EXPECT_EQ(ThreadCount(), threads);
  EXPECT_FALSE(IsTrue(lib.OpenPort()));
  EXPECT_FALSE(IsTrue(lib.CheckOpenPort()));
  EXPECT_EQ(capture.Texts(),
            (Texts{"Ошибка при открытии порта", "Ошибка при установке скорости порта",
                   "Ошибка при установке параметров(Бит,СтопБит,Паритет)",
                   "Ошибка при установке таймаутов", "Ошибка при выключении Bit Mode",
                   "Ошибка при очистке буферов I/O"}));
  // An exchange on the closed port shows the write error and fails.
  float volts = -1.0f;
  EXPECT_EQ(lib.GetVBat(&volts), 0);
  EXPECT_EQ(volts, -1.0f);
  EXPECT_EQ(capture.Texts().back(), "Ошибка записи в порт!");
  lib.ClosePort();  // nothing open: harmless
}

TEST_F(LibraryTest, CallingOrderDeliversWhatTheSimulatorSent) {
  const std::string log = TempPath("sim-calling-order.log");
  auto sim = StartSim({"--log", log, "--battery", "7.5"});
  OpenAndRaiseDtr();
  float volts = 0.0f;
  ASSERT_EQ(lib.GetVBat(&volts), 1);
  EXPECT_EQ(volts, 7.5f);
  std::uint8_t version[4] = {};
  ASSERT_EQ(lib.GetVersionDevice(version), 1);
  EXPECT_EQ(version[0], 0x02);
  ASSERT_EQ(lib.SetStatusSens(1), 1);
  EXPECT_EQ(lib.SetStatusSens(1), 1);  // acknowledged again
  std::vector<SampleValues> got;
  for (int i = 0; i < 25; ++i) {
    SampleValues v{};
    ASSERT_EQ(lib.GetDataSens(v.data()), 1) << i;
    got.push_back(v);
  }
  Finish();
  sim->Stop();
  const auto sent = ReadSimLog(log);
  std::remove(log.c_str());
  ASSERT_GE(sent.size(), got.size());
  for (std::size_t i = 0; i < got.size(); ++i) {
    const long seq = static_cast<long>(i) + 1;  // no frame skipped at this rate
    ASSERT_EQ(sent.count(seq), 1u);
    EXPECT_EQ(got[i], sent.at(seq)) << "frame " << seq;
    for (int p = 0; p < 5; ++p) EXPECT_EQ(got[i][1 + 2 * p] + got[i][2 + 2 * p], 60000);
  }
  EXPECT_FALSE(IsTrue(lib.CheckFailedDevice()));
  EXPECT_TRUE(capture.Texts().empty());
}

// Frames lost on the way, counted by the library for the stream in
// progress: those damaged on the line and those that never came.
TEST_F(LibraryTest, CountsTheFramesAStreamLost) {
  struct Case {
    const char* name;
    std::vector<std::string> args;
    int minLost;
    int maxLost;
  };
  const Case cases[] = {
      {"healthy", {}, 0, 0},
      {"every 8th never sent", {"--drop-every", "8"}, 2, 4},
      // Told by the time line: a loaded machine may make the gap look a frame longer.
      {"one never sent", {"--drop-every", "12", "--drop-limit", "1"}, 1, 2},
      {"a burst of three never sent",
       {"--drop-every", "10", "--drop-burst", "3", "--drop-limit", "1"},
       3,
       4},
      {"one with a bad CRC", {"--drop-every", "12", "--drop-limit", "1", "--drop-crc"}, 1, 1},
      {"every 8th with a bad CRC", {"--drop-every", "8", "--drop-crc"}, 2, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> args = {"--rate", "100"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    auto sim = StartSim(args);
    OpenAndRaiseDtr();
    ASSERT_EQ(lib.SetStatusSens(1), 1);
    SampleValues v{};
    for (int i = 0; i < 24; ++i) ASSERT_EQ(lib.GetDataSens(v.data()), 1) << i;
    const int lost = lib.GetLostFrames();
    EXPECT_GE(lost, c.minLost);
    EXPECT_LE(lost, c.maxLost);
    Finish();
    // A new stream starts its count afresh.
    if (c.maxLost == 0) {
      ASSERT_TRUE(IsTrue(lib.OpenPort()));
      ASSERT_TRUE(IsTrue(lib.SetDTRPort(1)));
      ASSERT_EQ(lib.SetStatusSens(1), 1);
      EXPECT_EQ(lib.GetLostFrames(), 0);
      Finish();
    }
    sim->Stop();
  }
}

TEST_F(LibraryTest, RepeatedCyclesLeaveNoThreadOrDescriptor) {
  auto sim = StartSim();
  // Measured after a first cycle: sanitizer runtimes start helper threads lazily.
  int threads = 0, fds = 0;
  for (int cycle = -1; cycle < 100; ++cycle) {
    if (cycle == 0) {
      threads = ThreadCount();
      fds = OpenFdCount();
    }
    ASSERT_TRUE(IsTrue(lib.OpenPort())) << cycle;
    ASSERT_TRUE(IsTrue(lib.SetDTRPort(1)));
    ASSERT_EQ(lib.SetStatusSens(1), 1) << cycle;
    ASSERT_EQ(lib.SetStatusSens(0), 1) << cycle;
    ASSERT_TRUE(IsTrue(lib.SetDTRPort(0)));
    lib.ClosePort();
  }
  EXPECT_EQ(ThreadCount(), threads);
  EXPECT_EQ(OpenFdCount(), fds);
  EXPECT_TRUE(capture.Texts().empty());
}

TEST_F(LibraryTest, UnpluggedSensorFailsTheWaitAndReopensLater) {
  auto sim = StartSim();
  OpenAndRaiseDtr();
  ASSERT_EQ(lib.SetStatusSens(1), 1);
  SampleValues v{};
  ASSERT_EQ(lib.GetDataSens(v.data()), 1);
  sim->Kill();
  int result = 1;
  for (int i = 0; i < 5 && result == 1; ++i) result = lib.GetDataSens(v.data());
  EXPECT_EQ(result, 0);
  // The stop command finds the line dead: write error; closing it then
  // fails its purge too.
  Finish(false);
  EXPECT_EQ(capture.Texts(), (Texts{"Ошибка записи в порт!", "Ошибка при очистке буферов I/O"}));
  auto again = StartSim();
  OpenAndRaiseDtr();
  ASSERT_EQ(lib.SetStatusSens(1), 1);
  EXPECT_EQ(lib.GetDataSens(v.data()), 1);
  Finish();
}

TEST_F(LibraryTest, SilentSensorRaisesDeviceFailedAndAnswerClearsIt) {
  auto sim = StartSim({"--mute"});
  OpenAndRaiseDtr();
  float volts = 0.0f;
  EXPECT_EQ(lib.GetVBat(&volts), 0);
  // Five unanswered link tests, one per 100 idle polls of about 6 ms.
  for (int i = 0; i < 100 && !IsTrue(lib.CheckFailedDevice()); ++i)
    std::this_thread::sleep_for(100ms);
  EXPECT_TRUE(IsTrue(lib.CheckFailedDevice()));
  Finish();
  sim->Stop();
  auto talking = StartSim();
  OpenAndRaiseDtr();
  EXPECT_EQ(lib.GetVBat(&volts), 1);
  EXPECT_FALSE(IsTrue(lib.CheckFailedDevice()));
  Finish();
}

TEST_F(LibraryTest, RefusedStartAndLineNoise) {
  auto refusing = StartSim({"--refuse-start"});
  OpenAndRaiseDtr();
  float volts = 0.0f;
  EXPECT_EQ(lib.GetVBat(&volts), 1);
  EXPECT_EQ(volts, 9.0f);
  EXPECT_EQ(lib.SetStatusSens(1), 0);
  Finish();
  refusing->Stop();

  auto noisy = StartSim({"--corrupt", "0.002"});
  OpenAndRaiseDtr();
  int started = 0;  // the acknowledgement itself may be hit
  for (int i = 0; i < 3 && !started; ++i) started = lib.SetStatusSens(1);
  ASSERT_EQ(started, 1);
  int delivered = 0;
  SampleValues v{};
  for (int i = 0; i < 20; ++i) delivered += lib.GetDataSens(v.data());
  EXPECT_GE(delivered, 15);  // about one frame in ten carries a hit byte
  Finish();
}

TEST_F(LibraryTest, ProcessExitWithTheReaderRunningIsClean) {
  auto sim = StartSim();
  const pid_t child = fork();
  if (child == 0) {
    // The host forgets DTR off and close: exit must still end cleanly.
    const bool ok =
        IsTrue(lib.OpenPort()) && IsTrue(lib.SetDTRPort(1)) && lib.SetStatusSens(1) == 1;
    std::this_thread::sleep_for(300ms);
    std::exit(ok ? 0 : 3);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
