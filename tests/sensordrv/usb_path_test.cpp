// The libftdi1 path over the stand-in chip, whose control transfers take
// 1 ms and whose empty reads wait the 5 ms time-out: the backend's status
// query, then the device library built over it, loaded by file name.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "fake_ft.h"
#include "ft_backend.h"
#include "protocol.h"
#include "standin_library.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Texts = std::vector<std::string>;

// Modem-status polls allowed in a span: one when it starts, one per 100 ms.
long PollsAllowed(Clock::duration span) { return 1 + static_cast<long>(span / 100ms); }

class FtdiBackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FtdiStandinOptions options = FtdiStandinDefaults();
    options.wireLimited = 0;  // a reply reaches the chip whole
    FtdiStandinPlug(&options);
    FT_STATUS status = FT_OTHER_ERROR;
    device = sensordrv::OpenFtdiDevice(0, status);
    ASSERT_TRUE(device);
    ASSERT_EQ(device->SetUsbParameters(16384, 16384), FT_OK);
    ASSERT_EQ(device->SetTimeouts(5, 5), FT_OK);
  }
  void TearDown() override { FtdiStandinUnplug(); }
  FT_STATUS Status(DWORD* rx = nullptr) {
    DWORD r = 0, tx = 0, events = 0;
    const FT_STATUS s = device->GetStatus(&r, &tx, &events);
    if (rx) *rx = r;
    return s;
  }
  static FtdiStandinStats Stats() {
    FtdiStandinStats s{};
    FtdiStandinGetStats(&s);
    return s;
  }
  std::unique_ptr<sensordrv::FtBackend> device;
};

TEST_F(FtdiBackendTest, ReceiveCountIsTheReadBufferAndCostsNoTransferPerByte) {
  std::array<std::uint8_t, 32> wire{};
  const std::size_t n =
      sensordrv::EncodeFrame(sensordrv::CommandBody(sensordrv::kCmdVersion), wire);
  DWORD written = 0;
  ASSERT_EQ(device->Write(wire.data(), static_cast<DWORD>(n), &written), FT_OK);
  DWORD rx = 99;
  ASSERT_EQ(Status(&rx), FT_OK);
  EXPECT_EQ(rx, 0u);  // nothing fetched from the chip yet
  const long polls = Stats().modemPolls;
  const long transfers = Stats().controlTransfers;
  const auto start = Clock::now();
  // One GetStatus and one single-byte read per byte, as the reader does.
  std::vector<std::uint8_t> reply;
  std::vector<DWORD> left;
  for (int i = 0; i < 100 && (reply.empty() || reply.back() != sensordrv::kFrameEnd); ++i) {
    ASSERT_EQ(Status(&rx), FT_OK);
    std::uint8_t b = 0;
    DWORD got = 0;
    device->Read(&b, 1, &got);
    if (got == 0) continue;
    reply.push_back(b);
    ASSERT_EQ(Status(&rx), FT_OK);
    left.push_back(rx);
  }
  const auto span = Clock::now() - start;
  ASSERT_GE(reply.size(), 8u);
  EXPECT_EQ(reply.front(), sensordrv::kFrameStart);
  // The first read took the whole reply into libftdi's buffer; the count
  // then falls by one per byte taken.
  for (std::size_t i = 0; i < left.size(); ++i) EXPECT_EQ(left[i], reply.size() - 1 - i) << i;
  EXPECT_LE(Stats().modemPolls - polls, PollsAllowed(span));
  EXPECT_EQ(Stats().controlTransfers - transfers, Stats().modemPolls - polls);
}

TEST_F(FtdiBackendTest, PresenceIsPolledAtMostEvery100MsAndAnUnplugIsNoticed) {
  const long polls = Stats().modemPolls;
  const auto start = Clock::now();
  for (int i = 0; i < 3000; ++i) ASSERT_EQ(Status(), FT_OK);
  std::this_thread::sleep_for(150ms);
  for (int i = 0; i < 3000; ++i) ASSERT_EQ(Status(), FT_OK);
  const auto span = Clock::now() - start;
  const long made = Stats().modemPolls - polls;
  EXPECT_GE(made, 2);  // the pause outlasted the interval: the chip was asked again
  EXPECT_LE(made, PollsAllowed(span));
  FtdiStandinUnplug();
  // The last successful poll lies before the unplug, so the first query
  // 100 ms later asks the chip and finds it gone.
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(Status(), FT_IO_ERROR);
  std::uint8_t b = 0;
  DWORD got = 0;
  EXPECT_NE(device->Read(&b, 1, &got), FT_OK);
  EXPECT_EQ(got, 0u);
}

// The device library over the stand-in chip, as the main program uses it.
StandinLibrary& Lib() {
  static StandinLibrary lib;
  static const bool loaded = lib.LoadStandin(SENSORDRV_STANDIN_LIBRARY);
  EXPECT_TRUE(loaded) << dlerror();
  return lib;
}

class UsbLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    unsetenv("SENSORDRV_PORT");  // device 0 is the first chip on the USB
    ASSERT_NE(Lib().Plug, nullptr);
    Lib().SetMessageSink(&MessageCapture::Sink, &capture);
  }
  void TearDown() override {
    Lib().SetMessageSink(nullptr, nullptr);
    Lib().Unplug();
  }
  void Plug(FtdiStandinOptions options = FtdiStandinDefaults()) { Lib().Plug(&options); }
  void OpenAndRaiseDtr() {
    ASSERT_TRUE(IsTrue(Lib().SearchDevices()));
    ASSERT_TRUE(IsTrue(Lib().OpenPort())) << capture.Texts().size();
    std::this_thread::sleep_for(100ms);
    ASSERT_TRUE(IsTrue(Lib().SetDTRPort(1)));
    std::this_thread::sleep_for(100ms);
  }
  void Finish() {
    Lib().SetStatusSens(0);
    EXPECT_TRUE(IsTrue(Lib().SetDTRPort(0)));
    Lib().ClosePort();
    EXPECT_FALSE(IsTrue(Lib().CheckOpenPort()));
  }
  MessageCapture capture;
};

TEST_F(UsbLibraryTest, CallingOrderStreamsEveryFrame) {
  FtdiStandinOptions options = FtdiStandinDefaults();
  options.rate = 500;        // 100 frames a second
  options.fifoBytes = 4096;  // a loaded test machine may hold the reader up
  Plug(options);
  OpenAndRaiseDtr();
  float volts = 0.0f;
  ASSERT_EQ(Lib().GetVBat(&volts), 1);
  EXPECT_EQ(volts, 9.0f);
  std::uint8_t version[4] = {};
  ASSERT_EQ(Lib().GetVersionDevice(version), 1);
  EXPECT_EQ(version[0], sensorsim::kSimVersion[0]);
  ASSERT_EQ(Lib().SetStatusSens(1), 1);
  const long polls = Lib().Stats().modemPolls;
  const auto start = Clock::now();
  for (int i = 1; i <= 100; ++i) {
    SampleValues v{};
    ASSERT_EQ(Lib().GetDataSens(v.data()), 1) << i;
    EXPECT_EQ(v[0], i % 256) << "the status byte counts frames: none lost";
  }
  const auto span = Clock::now() - start;
  // Thousands of bytes read one by one, yet the chip was asked for its
  // status only every 100 ms.
  EXPECT_LE(Lib().Stats().modemPolls - polls, PollsAllowed(span) + 1);
  Finish();
  EXPECT_EQ(Lib().Stats().droppedBytes, 0);
  EXPECT_FALSE(IsTrue(Lib().CheckFailedDevice()));
  EXPECT_TRUE(capture.Texts().empty());
}

TEST_F(UsbLibraryTest, DataBeforeTheStreamStartsWaitsItsFullTimeAndLeavesTheArray) {
  Plug();
  OpenAndRaiseDtr();
  float volts = 0.0f;
  ASSERT_EQ(Lib().GetVBat(&volts), 1);  // takes the ready flag left from loading
  SampleValues v;
  v.fill(-7);
  const auto start = Clock::now();
  EXPECT_EQ(Lib().GetDataSens(v.data()), 0);
  // 1000 polls of at least 1 ms each: never shorter than a second.
  EXPECT_GE(Clock::now() - start, 1000ms);
  for (std::int32_t x : v) EXPECT_EQ(x, -7);
  EXPECT_TRUE(IsTrue(Lib().CheckStatusCmd()));
  Finish();
}

TEST_F(UsbLibraryTest, BatteryReplyOfAnotherWidthSucceedsWithoutAVoltage) {
  for (int bits : {12, 0, 8}) {
    FtdiStandinOptions options = FtdiStandinDefaults();
    options.batteryBits = bits;
    Plug(options);
    OpenAndRaiseDtr();
    float volts = -2.5f;
    EXPECT_EQ(Lib().GetVBat(&volts), 1) << bits;
    EXPECT_EQ(volts, -2.5f) << bits;
    Finish();
  }
  EXPECT_TRUE(capture.Texts().empty());
}

TEST_F(UsbLibraryTest, OpenPortWithAFailingPurgeClosesTheDeviceAgain) {
  FtdiStandinOptions options = FtdiStandinDefaults();
  options.failPurge = 1;
  Plug(options);
  const int threads = ThreadCount();
  EXPECT_FALSE(IsTrue(Lib().OpenPort()));
  // The purge of opening, then the close's bit-mode reset succeeds and its
  // purge fails again.
  EXPECT_EQ(capture.Texts(),
            (Texts{"Ошибка при очистке буферов I/O", "Ошибка при очистке буферов I/O"}));
  for (const auto& m : capture.messages) EXPECT_EQ(m.caption, "Error");
  EXPECT_FALSE(IsTrue(Lib().CheckOpenPort()));
  EXPECT_FALSE(IsTrue(Lib().SetDTRPort(1)));  // nothing open: no reader either
  EXPECT_EQ(ThreadCount(), threads);
}

TEST_F(UsbLibraryTest, ReaderRunsAtNormalPriorityWhateverItsStarterRuns) {
  Plug();
  const int normal = getpriority(PRIO_PROCESS, 0);  // this thread loaded the library
  bool raised = false;
  // The host's raised user-interface thread starts the reader.
  std::thread host([&] {
    raised = setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), normal - 5) == 0;
    if (raised) OpenAndRaiseDtr();
  });
  host.join();
  if (!raised) GTEST_SKIP() << "raising a thread's priority is not permitted here";
  // The reader names itself after setting its priority.
  int reader = 0;
  for (int i = 0; i < 500 && reader == 0; ++i) {
    reader = ThreadNamed("sensordrv-rx");
    if (reader == 0) std::this_thread::sleep_for(10ms);
  }
  ASSERT_NE(reader, 0);
  EXPECT_EQ(getpriority(PRIO_PROCESS, static_cast<id_t>(reader)), normal);
  float volts = 0.0f;
  EXPECT_EQ(Lib().GetVBat(&volts), 1);  // it reads as before
  std::this_thread::sleep_for(200ms);
  EXPECT_EQ(getpriority(PRIO_PROCESS, static_cast<id_t>(reader)), normal);  // and stays there
  Finish();
}

}  // namespace
