// UsbPort over a stand-in driver and over the real port layer without a device.

#include "usb_port.h"

#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "fake_ft.h"
#include "messages.h"

namespace sensordrv {
namespace {

using Texts = std::vector<std::string>;

const Texts kNoDeviceMessages{
    "Ошибка при открытии порта",
    "Ошибка при установке скорости порта",
    "Ошибка при установке параметров(Бит,СтопБит,Паритет)",
    "Ошибка при установке таймаутов",
    "Ошибка при выключении Bit Mode",
    "Ошибка при очистке буферов I/O",
};

class UsbPortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeFt::Get().Reset();
    SetMessageSink(&MessageCapture::Sink, &capture);
  }
  void TearDown() override { SetMessageSink(nullptr, nullptr); }
  MessageCapture capture;
  UsbPort port{FakeFt::Functions()};
};

TEST_F(UsbPortTest, OpenWithoutDeviceShowsEveryStepsMessageButTheTransferSize) {
  FakeFt::Get().failures["Open"] = FT_DEVICE_NOT_FOUND;
  EXPECT_FALSE(port.OpenDevice());
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(capture.Texts(), kNoDeviceMessages);
  for (const auto& m : capture.messages) {
    EXPECT_EQ(m.caption, "Error");
    EXPECT_EQ(m.isError, 1);
  }
}

TEST_F(UsbPortTest, OpenConfiguresInOrderAndReopenClosesTheOldHandleOnly) {
  ASSERT_TRUE(port.OpenDevice());
  EXPECT_TRUE(port.IsOpen());
  EXPECT_EQ(FakeFt::Get().Calls(),
            (Texts{"Open", "SetUSBParameters", "SetDivisor", "SetDataCharacteristics",
                   "SetTimeouts", "SetBitMode", "Purge"}));
  FakeFt::Get().Reset();
  ASSERT_TRUE(port.OpenDevice());
  // The held handle is closed without bit-mode reset or purge first.
  EXPECT_EQ(FakeFt::Get().Calls().front(), "Close");
  EXPECT_EQ(FakeFt::Get().Calls()[1], "Open");
  EXPECT_TRUE(capture.Texts().empty());
}

TEST_F(UsbPortTest, FailedStepsKeepTheHandleAndPurgeFailureEndsAtOnce) {
  FakeFt::Get().failures["SetUSBParameters"] = FT_IO_ERROR;
  EXPECT_FALSE(port.OpenDevice());  // silent step, still a failure
  EXPECT_TRUE(capture.Texts().empty());
  EXPECT_TRUE(port.IsOpen());

  FakeFt::Get().Reset();
  FakeFt::Get().failures["Purge"] = FT_IO_ERROR;
  EXPECT_FALSE(port.OpenDevice());
  EXPECT_EQ(capture.Texts(), Texts{"Ошибка при очистке буферов I/O"});
  // Closing now: bit mode reset works, so the purge is tried again and fails again.
  port.CloseDevice();
  EXPECT_EQ(capture.Texts().size(), 2u);
  EXPECT_FALSE(port.IsOpen());
}

TEST_F(UsbPortTest, CloseSkipsPurgeWhenBitModeResetFails) {
  ASSERT_TRUE(port.OpenDevice());
  FakeFt::Get().Reset();
  FakeFt::Get().failures["SetBitMode"] = FT_IO_ERROR;
  port.CloseDevice();
  EXPECT_EQ(FakeFt::Get().Calls(), (Texts{"SetBitMode", "Close"}));
  EXPECT_FALSE(port.IsOpen());
  EXPECT_TRUE(capture.Texts().empty());
  FakeFt::Get().Reset();
  port.CloseDevice();  // nothing held: nothing done
  EXPECT_TRUE(FakeFt::Get().Calls().empty());
}

TEST_F(UsbPortTest, WriteFrameQueueRoomAndMissingHandle) {
  const std::uint8_t frame[7] = {0x7E, 1, 2, 3, 4, 5, 0x7F};
  EXPECT_FALSE(port.WriteFrame(frame, 7));  // no handle: status query fails
  ASSERT_EQ(capture.messages.size(), 1u);
  EXPECT_EQ(capture.messages[0].text, "Ошибка записи в порт!");
  EXPECT_EQ(capture.messages[0].caption, "ERROR");
  EXPECT_EQ(capture.messages[0].isError, 0);

  ASSERT_TRUE(port.OpenDevice());
  FakeFt::Get().txQueue = 4090;
  EXPECT_TRUE(port.WriteFrame(frame, 7));  // no room: dropped, reported as written
  FakeFt::Get().txQueue = 5000;            // over-full queue drops too
  EXPECT_TRUE(port.WriteFrame(frame, 7));
  EXPECT_TRUE(FakeFt::Get().writes.empty());
  FakeFt::Get().txQueue = 4089;
  EXPECT_TRUE(port.WriteFrame(frame, 7));
  EXPECT_EQ(FakeFt::Get().writes.size(), 1u);
  FakeFt::Get().failures["Write"] = FT_IO_ERROR;
  EXPECT_FALSE(port.WriteFrame(frame, 7));
}

TEST_F(UsbPortTest, DtrListAndRead) {
  EXPECT_FALSE(port.SetDtr(true));  // no handle
  EXPECT_TRUE(port.ListDevices());  // the driver answered with no device
  ASSERT_TRUE(port.OpenDevice());
  EXPECT_TRUE(port.SetDtr(true));
  FakeFt::Get().failures["ClrDtr"] = FT_IO_ERROR;
  EXPECT_FALSE(port.SetDtr(false));
  std::uint8_t b = 0xAA;
  std::uint32_t n = 7;
  EXPECT_TRUE(port.ReadByte(b, n));
  EXPECT_EQ(n, 0u);
  EXPECT_EQ(b, 0);
  FakeFt::Get().Inject({0x42});
  EXPECT_TRUE(port.ReadByte(b, n));
  EXPECT_EQ(n, 1u);
  EXPECT_EQ(b, 0x42);
  FakeFt::Get().failures["GetStatus"] = FT_IO_ERROR;
  EXPECT_FALSE(port.ReadByte(b, n));
  EXPECT_TRUE(capture.Texts().empty());  // read failures are silent
}

// The real port layer: no FTDI chip on the test machine (libftdi1 backend),
// and a tty path that does not exist (tty backend).
TEST(RealPortLayer, NoDeviceGivesTheSameMessagesOnBothBackends) {
  for (const char* override : {static_cast<const char*>(nullptr), "/nonexistent/ttyUSB9"}) {
    if (override) {
      setenv("SENSORDRV_PORT", override, 1);
    } else {
      unsetenv("SENSORDRV_PORT");
    }
    MessageCapture capture;
    SetMessageSink(&MessageCapture::Sink, &capture);
    UsbPort port;
    EXPECT_FALSE(port.OpenDevice());
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(capture.Texts(), kNoDeviceMessages) << (override ? override : "libftdi1");
    SetMessageSink(nullptr, nullptr);
  }
  unsetenv("SENSORDRV_PORT");
}

TEST(RealPortLayer, PseudoTerminalOpensAndReadTimesOut) {
  int master = -1, slave = -1;
  char path[128];
  ASSERT_EQ(openpty(&master, &slave, path, nullptr, nullptr), 0);
  setenv("SENSORDRV_PORT", path, 1);
  MessageCapture capture;
  SetMessageSink(&MessageCapture::Sink, &capture);
  UsbPort port;
  ASSERT_TRUE(port.OpenDevice()) << capture.Texts().size();
  EXPECT_TRUE(port.ListDevices());
  EXPECT_TRUE(port.SetDtr(true));  // no modem lines on a pty: nothing to do
  std::uint8_t b = 0;
  std::uint32_t n = 9;
  EXPECT_TRUE(port.ReadByte(b, n));
  EXPECT_EQ(n, 0u);
  const std::uint8_t out[3] = {0x7E, 0x41, 0x7F};
  EXPECT_TRUE(port.WriteFrame(out, 3));
  std::uint8_t echo[3] = {};
  ASSERT_EQ(read(master, echo, 3), 3);  // raw mode: bytes pass untouched
  EXPECT_EQ(echo[1], 0x41);
  ASSERT_EQ(write(master, "\x7D\x0D", 2), 2);
  EXPECT_TRUE(port.ReadByte(b, n));
  EXPECT_EQ(b, 0x7D);
  EXPECT_TRUE(port.ReadByte(b, n));
  EXPECT_EQ(b, 0x0D);  // no CR translation
  port.CloseDevice();
  EXPECT_FALSE(port.IsOpen());
  EXPECT_TRUE(capture.Texts().empty());
  SetMessageSink(nullptr, nullptr);
  unsetenv("SENSORDRV_PORT");
  close(master);
  close(slave);
}

TEST(RealPortLayer, CaptureKeepsTheRawBytesRead) {
  int master = -1, slave = -1;
  char path[128];
  ASSERT_EQ(openpty(&master, &slave, path, nullptr, nullptr), 0);
  const std::string capture = "/tmp/sensordrv-capture-" + std::to_string(getpid());
  std::remove(capture.c_str());
  setenv("SENSORDRV_PORT", path, 1);
  setenv("SENSORDRV_CAPTURE", capture.c_str(), 1);
  {
    UsbPort port;
    ASSERT_TRUE(port.OpenDevice());
    ASSERT_EQ(write(master, "\x7E\x7D\x20\x42\x7F", 5), 5);
    std::uint8_t b = 0;
    std::uint32_t n = 0;
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(port.ReadByte(b, n));
    port.CloseDevice();
  }
  unsetenv("SENSORDRV_CAPTURE");
  unsetenv("SENSORDRV_PORT");
  std::ifstream in(capture, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(bytes, std::string("\x7E\x7D\x20\x42\x7F", 5));
  std::remove(capture.c_str());
  close(master);
  close(slave);
}

}  // namespace
}  // namespace sensordrv
