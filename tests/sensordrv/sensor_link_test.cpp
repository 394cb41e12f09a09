// SensorLink over the stand-in driver: keep-alive counting, reply hand-over
// rules, and the reader thread against a simulated sensor.

#include "sensor_link.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "fake_ft.h"
#include "messages.h"

namespace sensordrv {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

Bytes Wire(std::span<const std::uint8_t> body) {
  Bytes out(EncodedCapacity(body.size()));
  out.resize(EncodeFrame(body, out));
  return out;
}

Bytes InfoWire(std::uint8_t code, Bytes data) {
  std::array<std::uint8_t, 64> body{};
  const std::size_t n = ReplyBody(code, data, body);
  return Wire({body.data(), n});
}

const Bytes kBattery75{0x03, 0x00, 0x0A, 0x02, 0x32, 0x04, 0x00};

class SensorLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeFt::Get().Reset();
    SetMessageSink(&MessageCapture::Sink, &capture);
    ASSERT_TRUE(port.OpenDevice());
    link.SetPortReady();
    link.SetReadingEnabled(true);
  }
  void TearDown() override {
    link.StopReader();
    SetMessageSink(nullptr, nullptr);
  }
  void Push(const Bytes& wire) {
    for (std::uint8_t b : wire) link.PushByte(b);
  }
  std::size_t LinkTestsWritten() {
    const Bytes test = Wire(LinkBody(kLinkTest));
    std::lock_guard lock(FakeFt::Get().mutex);
    return static_cast<std::size_t>(
        std::count(FakeFt::Get().writes.begin(), FakeFt::Get().writes.end(), test));
  }
  MessageCapture capture;
  UsbPort port{FakeFt::Functions()};
  SensorLink link{port};
};

TEST_F(SensorLinkTest, KeepAliveCountingSetsAndClearsDeviceFailed) {
  // 100 idle polls pass silently, the 101st sends a link test.
  for (int i = 0; i < 100; ++i) link.PollOnce();
  EXPECT_EQ(LinkTestsWritten(), 0u);
  link.PollOnce();
  EXPECT_EQ(LinkTestsWritten(), 1u);
  for (int n = 2; n <= 5; ++n) {
    for (int i = 0; i < 101; ++i) link.PollOnce();
    EXPECT_EQ(LinkTestsWritten(), static_cast<std::size_t>(n));
    EXPECT_EQ(link.DeviceFailed(), n == 5) << n;
  }
  EXPECT_EQ(link.MissedKeepAlives(), 0);
  for (int i = 0; i < 101; ++i) link.PollOnce();
  EXPECT_EQ(link.MissedKeepAlives(), 1);  // a new count, the flag still set
  EXPECT_TRUE(link.DeviceFailed());
  Push(Wire(LinkBody(kLinkAck)));
  EXPECT_EQ(link.MissedKeepAlives(), 0);
  EXPECT_FALSE(link.DeviceFailed());
}

TEST_F(SensorLinkTest, AnswersPostponeTheLinkTest) {
  for (int i = 0; i < 60; ++i) link.PollOnce();
  const Bytes reply = InfoWire(kReplyBattery, kBattery75);
  FakeFt::Get().Inject(reply);
  // One poll per byte of the reply; without it a link test would go out 40
  // idle polls later, with it only after a fresh 100.
  const int bytes = static_cast<int>(reply.size());
  for (int i = 0; i < bytes + 101; ++i) link.PollOnce();
  EXPECT_EQ(LinkTestsWritten(), 0u);
  link.PollOnce();
  EXPECT_EQ(LinkTestsWritten(), 1u);
}

// A full reply wait is 1000 sleeps of at least 1 ms: never shorter than
// this. A wait that ends "at once" is told from it by staying below it, with
// room for a loaded machine.
constexpr auto kFullWait = std::chrono::milliseconds(1000);

TEST_F(SensorLinkTest, FirstWaitDataReturnsAtOnceWithNothing) {
  const auto start = Clock::now();
  EXPECT_FALSE(link.WaitData().has_value());
  EXPECT_LT(Clock::now() - start, kFullWait);
  EXPECT_TRUE(link.CommandIdle());
}

TEST_F(SensorLinkTest, ReplyCodeThreeTakesTheSlotButWakesNobody) {
  EXPECT_FALSE(link.WaitData().has_value());  // clears the ready flag left from loading
  Push(InfoWire(kReplySilent, {0x98}));
  auto start = Clock::now();
  EXPECT_FALSE(link.WaitData().has_value());  // nothing signalled: full wait
  EXPECT_GE(Clock::now() - start, kFullWait);
  // A battery reply raises the flag; the code-3 frame after it takes the slot.
  Push(InfoWire(kReplyBattery, kBattery75));
  Push(InfoWire(kReplySilent, {0x99}));
  start = Clock::now();
  EXPECT_FALSE(link.WaitData().has_value());
  EXPECT_LT(Clock::now() - start, kFullWait);
}

Bytes DataWire(std::uint8_t status) {
  Bytes data(kDataBytes, 0x30);
  data[0] = status;
  return InfoWire(kReplyData, data);
}

std::int32_t StatusOf(const std::optional<Reply>& r) { return r ? r->data[0] : -1; }

TEST_F(SensorLinkTest, MeasurementFramesQueueOldestFirst) {
  EXPECT_FALSE(link.WaitData().has_value());
  for (int f = 1; f <= 5; ++f) Push(DataWire(static_cast<std::uint8_t>(f)));  // a burst
  for (int f = 1; f <= 5; ++f) EXPECT_EQ(StatusOf(link.WaitData()), f);
  // Far behind: only the newest 16 are kept.
  for (int f = 1; f <= 40; ++f) Push(DataWire(static_cast<std::uint8_t>(f)));
  for (int f = 25; f <= 40; ++f) EXPECT_EQ(StatusOf(link.WaitData()), f);
  // A short data frame is not a measurement.
  Push(InfoWire(kReplyData, {1, 2, 3}));
  Push(DataWire(77));
  EXPECT_EQ(StatusOf(link.WaitData()), 77);
  // Frames left over when a new stream starts are dropped.
  Push(DataWire(88));
  FakeFt::Get().AttachSensor({});
  ASSERT_TRUE(link.StartReader());
  ASSERT_TRUE(link.Exchange(kCmdStart).has_value());
  link.StopReader();
  Push(DataWire(99));
  EXPECT_EQ(StatusOf(link.WaitData()), 99);
  // So are those not taken when it stops.
  Push(DataWire(97));
  ASSERT_TRUE(link.StartReader());
  ASSERT_TRUE(link.Exchange(kCmdStop).has_value());
  link.StopReader();
  Push(DataWire(98));
  EXPECT_EQ(StatusOf(link.WaitData()), 98);
}

TEST_F(SensorLinkTest, TimedOutBatteryExchangeReturnsThePreviousReply) {
  Push(InfoWire(kReplyBattery, kBattery75));
  // Measurement frames after it do not push the reply out of reach.
  for (int f = 0; f < 3; ++f) Push(InfoWire(kReplyData, Bytes(kDataBytes, 0x44)));
  const auto reply = link.Exchange(kCmdBattery);  // nobody answers the fake
  ASSERT_TRUE(reply.has_value());
  EXPECT_EQ(BatteryVoltage(reply->Data()), 7.5f);
  EXPECT_FALSE(link.Exchange(kCmdVersion).has_value());  // no version in the slot
  EXPECT_FALSE(link.Exchange(0x05).has_value());         // not a command
  EXPECT_TRUE(link.CommandIdle());
  // Command frames went out byte for byte.
  std::lock_guard lock(FakeFt::Get().mutex);
  ASSERT_EQ(FakeFt::Get().writes.size(), 2u);
  EXPECT_EQ(FakeFt::Get().writes[0], (Bytes{0x7E, 0x7D, 0x20, 0x32, 0x7D, 0x30, 0x7D, 0x24, 0x7D,
                                            0x24, 0x7D, 0x5E, 0x28, 0x7F}));
}

TEST_F(SensorLinkTest, FailedWriteClosesThePort) {
  FakeFt::Get().failures["Write"] = FT_IO_ERROR;
  EXPECT_FALSE(link.Exchange(kCmdStart).has_value());
  EXPECT_FALSE(port.IsOpen());
  EXPECT_TRUE(capture.Texts().empty());  // a failed driver write is silent
  FakeFt::Get().failures.clear();
  EXPECT_FALSE(link.Exchange(kCmdStart).has_value());
  EXPECT_EQ(capture.Texts(), std::vector<std::string>{"Ошибка записи в порт!"});
}

TEST_F(SensorLinkTest, ReaderThreadDeliversRepliesAndEveryFrameOnce) {
  sensorsim::SimConfig config;
  FakeFt::Get().AttachSensor(config);
  ASSERT_TRUE(link.StartReader());
  const auto version = link.Exchange(kCmdVersion);
  ASSERT_TRUE(version.has_value());
  EXPECT_EQ(version->data[0], 0x02);
  ASSERT_TRUE(link.Exchange(kCmdStart).has_value());
  // The fake sensor streams only when asked: push frames by hand, some while
  // a stop command waits for its acknowledgement.
  std::vector<std::int32_t> statuses;
  for (int f = 0; f < 20; ++f) {
    Bytes frame;
    {
      std::lock_guard lock(FakeFt::Get().mutex);
      FakeFt::Get().sensor->NextFrame(frame);
    }
    FakeFt::Get().Inject(frame);
    const auto data = link.WaitData();
    ASSERT_TRUE(data.has_value()) << f;
    std::int32_t values[kSampleValues];
    DecodeSample(data->Data(), values);
    statuses.push_back(values[0]);
  }
  for (int f = 0; f < 20; ++f) EXPECT_EQ(statuses[f], f + 1);
  // A measurement frame ahead of the acknowledgement does not fail the stop.
  Bytes late;
  {
    std::lock_guard lock(FakeFt::Get().mutex);
    FakeFt::Get().sensor->NextFrame(late);
  }
  FakeFt::Get().Inject(late);
  EXPECT_TRUE(link.Exchange(kCmdStop).has_value());
  EXPECT_FALSE(link.DeviceFailed());
  link.StopReader();
  EXPECT_FALSE(link.ReaderRunning());
}

// A sensor streaming as fast as the reader takes frames, which answers the
// stop command only after 800 ms (or never).
class FastStream {
 public:
  explicit FastStream(std::optional<std::chrono::milliseconds> ackAfter)
      : thread_([this, ackAfter] { Run(ackAfter); }) {}
  ~FastStream() {
    done_ = true;
    thread_.join();
  }
  long Frames() const { return frames_; }

 private:
  void Run(std::optional<std::chrono::milliseconds> ackAfter) {
    const auto start = Clock::now();
    bool acked = !ackAfter;
    while (!done_) {
      // A few frames ahead of the reader at most, so the acknowledgement
      // is not held up behind a backlog.
      if (FakeFt::Get().RxSize() < 256) {
        FakeFt::Get().Inject(DataWire(static_cast<std::uint8_t>(++frames_)));
      } else {
        std::this_thread::yield();
      }
      if (!acked && Clock::now() - start >= *ackAfter) {
        FakeFt::Get().Inject(InfoWire(kReplyAck, {kCmdStop}));
        acked = true;
      }
    }
  }
  std::atomic<bool> done_{false};
  std::atomic<long> frames_{0};
  std::thread thread_;
};

TEST_F(SensorLinkTest, FastStreamDoesNotShortenACommandsWait) {
  ASSERT_TRUE(link.StartReader());
  {
    const auto start = Clock::now();
    FastStream sensor(std::chrono::milliseconds(800));
    const auto reply = link.Exchange(kCmdStop);
    const auto waited = Clock::now() - start;
    EXPECT_TRUE(reply.has_value()) << sensor.Frames() << " frames during the wait";
    EXPECT_GE(waited, std::chrono::milliseconds(800));
  }
  {
    FastStream sensor(std::nullopt);
    const auto start = Clock::now();
    EXPECT_FALSE(link.Exchange(kCmdStart).has_value());
    EXPECT_GE(Clock::now() - start, kFullWait);
  }
  EXPECT_TRUE(link.CommandIdle());
}

TEST_F(SensorLinkTest, ReaderRestartsWithoutOverlap) {
  for (int i = 0; i < 20; ++i) {
    ASSERT_TRUE(link.StartReader());
    ASSERT_TRUE(link.StartReader());  // a second start replaces the first reader
    link.StopReader();
  }
  EXPECT_FALSE(link.ReaderRunning());
}

}  // namespace
}  // namespace sensordrv
