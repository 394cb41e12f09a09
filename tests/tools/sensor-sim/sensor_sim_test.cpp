// The simulated sensor's protocol answers, fault modes and signal shape.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <string>
#include <vector>

#include "protocol.h"
#include "pulse_model.h"
#include "sim_device.h"
#include "sim_options.h"

namespace sensorsim {
namespace {

using namespace sensordrv;
using Bytes = std::vector<std::uint8_t>;

Bytes Wire(std::span<const std::uint8_t> body) {
  Bytes out(EncodedCapacity(body.size()));
  out.resize(EncodeFrame(body, out));
  return out;
}

std::vector<DecodedFrame> Decode(const Bytes& wire) {
  FrameAssembler a;
  std::vector<DecodedFrame> frames;
  for (std::uint8_t b : wire) {
    if (a.PushByte(b)) {
      frames.push_back(DecodeFrame(a.Frame()));
      a.Release();
    }
  }
  return frames;
}

struct Rig {
  explicit Rig(SimConfig c = {}) : config(c), model(config), device(config, model) {}
  std::vector<DecodedFrame> Command(std::uint8_t code) {
    Bytes out;
    const Bytes in = Wire(CommandBody(code));
    device.Receive(in.data(), in.size(), out);
    return Decode(out);
  }
  std::vector<DecodedFrame> Link() {
    Bytes out;
    const Bytes in = Wire(LinkBody(kLinkTest));
    device.Receive(in.data(), in.size(), out);
    return Decode(out);
  }
  SimConfig config;
  PulseModel model;
  SimDevice device;
};

TEST(SimDevice, AnswersEveryCommandAndLinkTest) {
  Rig rig;
  auto version = rig.Command(kCmdVersion);
  ASSERT_EQ(version.size(), 1u);
  EXPECT_TRUE(ReplyMatches(kCmdVersion, version[0].reply));

  auto battery = rig.Command(kCmdBattery);
  ASSERT_EQ(battery.size(), 1u);
  ASSERT_TRUE(ReplyMatches(kCmdBattery, battery[0].reply));
  EXPECT_EQ(BatteryVoltage(battery[0].reply.Data()), 9.0f);

  EXPECT_FALSE(rig.device.Streaming());
  auto start = rig.Command(kCmdStart);
  ASSERT_EQ(start.size(), 1u);
  EXPECT_TRUE(ReplyMatches(kCmdStart, start[0].reply));
  EXPECT_TRUE(rig.device.Streaming());
  auto stop = rig.Command(kCmdStop);
  ASSERT_EQ(stop.size(), 1u);
  EXPECT_TRUE(ReplyMatches(kCmdStop, stop[0].reply));
  EXPECT_FALSE(rig.device.Streaming());

  auto link = rig.Link();
  ASSERT_EQ(link.size(), 1u);
  EXPECT_EQ(link[0].kind, FrameKind::Link);
  EXPECT_EQ(link[0].linkCode, kLinkAck);

  auto unknown = rig.Command(0x55);
  ASSERT_EQ(unknown.size(), 1u);
  EXPECT_EQ(unknown[0].reply.code, kReplySilent);
}

TEST(SimDevice, FaultModes) {
  SimConfig mute;
  mute.mute = true;
  Rig muted(mute);
  EXPECT_TRUE(muted.Command(kCmdBattery).empty());
  EXPECT_TRUE(muted.Link().empty());
  EXPECT_TRUE(muted.Command(kCmdStart).empty());
  EXPECT_FALSE(muted.device.Streaming());

  SimConfig refuse;
  refuse.refuseStart = true;
  Rig refusing(refuse);
  EXPECT_EQ(refusing.Command(kCmdBattery).size(), 1u);
  EXPECT_TRUE(refusing.Command(kCmdStart).empty());
  EXPECT_FALSE(refusing.device.Streaming());

  SimConfig stopping;
  stopping.stopAfterFrames = 3;
  Rig rig(stopping);
  rig.Command(kCmdStart);
  Bytes out;
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(rig.device.Streaming());
    rig.device.NextFrame(out);
  }
  EXPECT_FALSE(rig.device.Streaming());
  EXPECT_TRUE(rig.Command(kCmdBattery).empty());
  EXPECT_TRUE(rig.Link().empty());
}

TEST(SimDevice, CorruptionDamagesAboutTheRequestedShare) {
  SimConfig c;
  c.corrupt = 0.1;
  Rig noisy(c);
  Rig clean;
  noisy.Command(kCmdStart);
  clean.Command(kCmdStart);
  Bytes a, b;
  for (int i = 0; i < 200; ++i) {
    noisy.device.NextFrame(a);
    clean.device.NextFrame(b);
  }
  ASSERT_EQ(a.size(), b.size());
  std::size_t differ = 0;
  for (std::size_t i = 0; i < a.size(); ++i) differ += a[i] != b[i];
  const double share = static_cast<double>(differ) / static_cast<double>(a.size());
  EXPECT_GT(share, 0.07);
  EXPECT_LT(share, 0.13);
  EXPECT_LT(Decode(a).size(), 200u / 2);  // with 10 % of bytes hit, most frames fail their CRC
}

TEST(SimDevice, FramesCarryCounterAndTicksRule) {
  for (double rate : {50.0, 100.0, 1000.0}) {
    SimConfig c;
    c.rate = rate;
    Rig rig(c);
    rig.Command(kCmdStart);
    const std::int32_t ticks = static_cast<std::int32_t>(std::lround(3.0e6 / rate));
    for (int f = 1; f <= 20; ++f) {
      Bytes out;
      const FrameRecord rec = rig.device.NextFrame(out);
      const auto frames = Decode(out);
      ASSERT_EQ(frames.size(), 1u);
      ASSERT_EQ(frames[0].reply.code, kReplyData);
      std::int32_t values[kSampleValues];
      DecodeSample(frames[0].reply.Data(), values);
      EXPECT_TRUE(std::equal(values, values + kSampleValues, rec.values.begin()));
      EXPECT_EQ(values[0], f);
      for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(values[1 + 2 * i] + values[2 + 2 * i], ticks) << rate;
        EXPECT_GT(values[1 + 2 * i], 0);
      }
    }
  }
}

// --drop-every and its companions: which frames of a stream are lost, and
// how a frame lost with a wrong CRC looks to the host.
TEST(SimDevice, DropsTheChosenFrames) {
  struct Case {
    const char* name;
    std::vector<const char*> args;
    std::vector<long> lost;  // frame numbers among 1..24
    bool badCrc;
  };
  const Case cases[] = {
      {"every 5th", {"--drop-every", "5"}, {5, 10, 15, 20}, false},
      {"once", {"--drop-every", "7", "--drop-limit", "1"}, {7}, false},
      {"bursts of 3, twice",
       {"--drop-every", "10", "--drop-burst", "3", "--drop-limit", "2"},
       {10, 11, 12, 20, 21, 22},
       false},
      {"with a wrong CRC", {"--drop-every", "6", "--drop-crc"}, {6, 12, 18, 24}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<const char*> argv = {"sensor-sim"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    const ParsedOptions p =
        ParseOptions(static_cast<int>(argv.size()), const_cast<char**>(argv.data()));
    ASSERT_TRUE(p.error.empty()) << p.error;
    Rig rig(p.config);
    rig.Command(kCmdStart);
    std::vector<long> lost;
    FrameAssembler host;
    std::uint32_t framesSeen = 0;
    for (long f = 1; f <= 24; ++f) {
      Bytes out;
      const FrameRecord rec = rig.device.NextFrame(out);
      EXPECT_EQ(rec.sequence, f);
      if (rec.lost) lost.push_back(f);
      // A lost frame is not sent at all, or sent so that the host throws it away.
      EXPECT_EQ(out.empty(), rec.lost && !c.badCrc) << f;
      for (std::uint8_t b : out) {
        if (host.PushByte(b)) {
          ++framesSeen;
          host.Release();
        }
      }
    }
    EXPECT_EQ(lost, c.lost);
    EXPECT_EQ(framesSeen, 24u - c.lost.size());
    EXPECT_EQ(host.Discarded(), c.badCrc ? c.lost.size() : 0u);
  }
  for (const std::vector<const char*>& bad :
       {std::vector<const char*>{"sensor-sim", "--drop-every", "1"},
        {"sensor-sim", "--drop-every", "4", "--drop-burst", "4"},
        {"sensor-sim", "--drop-limit", "0"},
        {"sensor-sim", "--drop-burst", "x"}}) {
    EXPECT_FALSE(
        ParseOptions(static_cast<int>(bad.size()), const_cast<char**>(bad.data())).error.empty())
        << bad[1];
  }
}

// Onsets of beats found as the deepest drops of the light level, the way
// the program sees them after differentiation.
std::vector<int> DropOnsets(const std::vector<double>& level, double rate) {
  std::vector<double> d(level.size(), 0.0);
  for (std::size_t i = 5; i < level.size(); ++i) d[i] = level[i] - level[i - 5];
  const double lowest = *std::min_element(d.begin(), d.end());
  std::vector<int> onsets;
  const int refractory = static_cast<int>(0.3 * rate);
  for (std::size_t i = 1; i + 1 < d.size(); ++i) {
    if (d[i] < 0.5 * lowest && d[i] <= d[i - 1] && d[i] <= d[i + 1] &&
        (onsets.empty() || static_cast<int>(i) - onsets.back() > refractory)) {
      onsets.push_back(static_cast<int>(i));
    }
  }
  return onsets;
}

std::vector<double> Levels(const SimConfig& c, double seconds) {
  PulseModel m(c);
  std::vector<double> out(static_cast<std::size_t>(seconds * c.rate));
  for (double& v : out) v = m.NextLevel();
  return out;
}

TEST(PulseModel, OneDeepDropPerBeatAtTheChosenRate) {
  for (double bpm : {60.0, 72.0, 110.0}) {
    SimConfig c;
    c.bpm = bpm;
    const auto onsets = DropOnsets(Levels(c, 60.0), c.rate);
    EXPECT_NEAR(static_cast<double>(onsets.size()), bpm, bpm * 0.05) << bpm;
    // The drop is deeper than the recovery is steep: the differentiated
    // wave has one deep negative swing per beat.
    const auto level = Levels(c, 10.0);
    double deepest = 0, highest = 0;
    for (std::size_t i = 1; i < level.size(); ++i) {
      deepest = std::min(deepest, level[i] - level[i - 1]);
      highest = std::max(highest, level[i] - level[i - 1]);
    }
    EXPECT_GT(-deepest, 1.5 * highest) << bpm;
  }
}

TEST(PulseModel, ExtrasystolesAndPausesChangeTheirIntervals) {
  SimConfig c;
  c.variability = 0.0;
  c.extrasystoleAt = {6};
  c.pauseAt = {12};
  PulseModel m(c);
  for (int i = 0; i < 20 * 50; ++i) m.NextLevel();
  const auto& on = m.BeatOnsets();
  ASSERT_GT(on.size(), 13u);
  const double mean = 60.0 / 72.0;
  // Beat n is on[n-1]; the interval before it is on[n-1] - on[n-2].
  EXPECT_NEAR(on[5] - on[4], 0.42 * mean, 0.05 * mean);
  EXPECT_NEAR(on[6] - on[5], 1.58 * mean, 0.07 * mean);
  EXPECT_NEAR(on[11] - on[10], 2.0 * mean, 0.1 * mean);
  EXPECT_NEAR(on[3] - on[2], mean, 0.05 * mean);
}

TEST(PulseModel, WeakExtrasystolesStillCrossTheHalfDepthThreshold) {
  SimConfig c;
  c.extrasystoleAt = {5, 11, 17};
  PulseModel m(c);
  std::vector<double> level(20 * 50);
  for (double& v : level) v = m.NextLevel();
  std::size_t beats = 0;
  for (double t : m.BeatOnsets()) beats += t < 20.0 - 0.2;
  EXPECT_EQ(DropOnsets(level, c.rate).size(), beats);
}

// Intervals under --rhythm: fibrillation changes every interval at random;
// a premature ventricular beat comes at half the interval and the two add
// up to two; an atrial one at 0.62 with a pause no longer than 1.1.
TEST(PulseModel, RhythmsShapeTheirIntervals) {
  for (const char* rhythm : {"af", "pvc", "pac"}) {
    for (const char* seed : {"1", "2", "3"}) {
      const char* argv[] = {"sensor-sim", "--rhythm", rhythm, "--seed", seed, "--variability", "0"};
      const ParsedOptions p = ParseOptions(7, const_cast<char**>(argv));
      ASSERT_TRUE(p.error.empty()) << p.error;
      PulseModel m(p.config);
      for (int i = 0; i < 60 * 50; ++i) m.NextLevel();
      const auto& on = m.BeatOnsets();
      const double mean = 60.0 / 72.0;
      std::vector<double> r;
      for (std::size_t i = 1; i < on.size(); ++i) r.push_back((on[i] - on[i - 1]) / mean);
      int premature = 0, bigChanges = 0;
      for (std::size_t i = 0; i + 1 < r.size(); ++i) {
        bigChanges += std::fabs(r[i + 1] - r[i]) > 0.1;
        if (std::string(rhythm) == "af" || r[i] > 0.8) continue;
        ++premature;
        if (std::string(rhythm) == "pvc") {
          EXPECT_NEAR(r[i], 0.5, 0.01);
          EXPECT_NEAR(r[i] + r[i + 1], 2.0, 0.01);
        } else {
          EXPECT_NEAR(r[i], 0.62, 0.01);
          EXPECT_NEAR(r[i + 1], 1.1, 0.01);
        }
      }
      SCOPED_TRACE(std::string(rhythm) + " seed " + seed);
      if (std::string(rhythm) == "af") {
        EXPECT_GT(bigChanges, static_cast<int>(r.size()) / 2);
      } else {
        EXPECT_GT(premature, 2);
        EXPECT_LT(premature, static_cast<int>(r.size()) / 4);
      }
    }
  }
  const char* bad[] = {"sensor-sim", "--rhythm", "vt"};
  EXPECT_FALSE(ParseOptions(3, const_cast<char**>(bad)).error.empty());
}

TEST(PulseModel, SameSeedSameSignalAfterRestart) {
  SimConfig c;
  PulseModel m(c);
  std::vector<double> first(100), again(100);
  for (double& v : first) v = m.NextLevel();
  m.Restart();
  for (double& v : again) v = m.NextLevel();
  EXPECT_EQ(first, again);
}

TEST(ReplaySource, RecordingsReplayAtTheirHeartRate) {
  const std::string dir = SFIGMO_PPG_DATA_DIR;
  // One column at 100 Hz, about 59 beats per minute.
  ReplaySource plain(dir + "/finger-ppg-100hz.csv", 100.0, 50.0);
  std::vector<double> level(50 * 24);
  for (double& v : level) v = plain.NextLevel();
  EXPECT_NEAR(static_cast<double>(DropOnsets(level, 50.0).size()) * 60.0 / 24.0, 59.0, 6.0);
  // Timed form: the first value is 515, so the first level at K = 12 is
  // 20000 - 12 × 515.
  ReplaySource timed(dir + "/finger-ppg-timed.csv", 100.0, 50.0, 12.0);
  EXPECT_DOUBLE_EQ(timed.NextLevel(), 20000.0 - 12.0 * 515.0);
  EXPECT_THROW(ReplaySource("/nonexistent.csv", 100.0, 50.0), std::runtime_error);
}

TEST(ReplaySource, TypicalPulseLandsInTheCalibrationsRange) {
  // The program's trace value at its start gain 20 is (A(k) - A(k-5)) * 20 / 50
  // above the baseline; the steepest one of a typical 4-second stretch must
  // lie in the 75..150 its calibration is made for, at any sample rate,
  // over the whole of each recording.
  const std::string dir = SFIGMO_PPG_DATA_DIR;
  const std::pair<const char*, double> recordings[] = {{"/finger-ppg-100hz.csv", 24.0},
                                                       {"/finger-ppg-timed.csv", 128.0}};
  for (const auto& [name, seconds] : recordings) {
    for (double rate : {50.0, 100.0}) {
      ReplaySource replay(dir + name, 100.0, rate);
      const double ticks = std::lround(3.0e6 / rate);
      std::vector<double> a(static_cast<std::size_t>(rate * seconds));
      for (double& v : a) v = replay.NextLevel() * ticks / 60000.0;
      std::vector<double> peaks;
      const std::size_t stretch = static_cast<std::size_t>(rate * 4);
      for (std::size_t from = 5; from + stretch <= a.size(); from += stretch) {
        double peak = -1e9;
        for (std::size_t k = from; k < from + stretch; ++k) peak = std::max(peak, a[k] - a[k - 5]);
        peaks.push_back(peak * 20.0 / 50.0);
      }
      std::sort(peaks.begin(), peaks.end());
      const double typical = peaks[peaks.size() / 2];
      EXPECT_GE(typical, 75.0) << name << " at " << rate;
      EXPECT_LE(typical, 150.0) << name << " at " << rate;
      for (double v : a) ASSERT_TRUE(v > 0.0 && v < ticks) << name;  // no clipping
    }
  }
  // By hand: --replay-scale K.
  const char* argv[] = {"sensor-sim", "--replay-scale", "2.5"};
  auto p = ParseOptions(3, const_cast<char**>(argv));
  ASSERT_TRUE(p.error.empty()) << p.error;
  EXPECT_EQ(p.config.replayScale, 2.5);
  ReplaySource scaled(dir + "/finger-ppg-timed.csv", 100.0, 50.0, p.config.replayScale);
  EXPECT_DOUBLE_EQ(scaled.NextLevel(), 20000.0 - 2.5 * 515.0);
  const char* bad[] = {"sensor-sim", "--replay-scale", "0"};
  EXPECT_FALSE(ParseOptions(3, const_cast<char**>(bad)).error.empty());
}

TEST(SimOptions, ParsesAndRefusesWithRussianErrors) {
  const char* good[] = {"sensor-sim", "--rate",
                        "100",        "--bpm",
                        "60",         "--extrasystole-at",
                        "3,9",        "--battery",
                        "7.2",        "--stop-after-frames",
                        "5",          "--corrupt",
                        "0.01",       "--mute"};
  auto p = ParseOptions(static_cast<int>(std::size(good)), const_cast<char**>(good));
  ASSERT_TRUE(p.error.empty()) << p.error;
  EXPECT_EQ(p.config.rate, 100.0);
  EXPECT_EQ(p.config.extrasystoleAt, (std::set<long>{3, 9}));
  EXPECT_EQ(p.config.stopAfterFrames, 5);
  EXPECT_TRUE(p.config.mute);
  for (const char* bad :
       {"--rate=20", "--bpm=x", "--corrupt=2", "--pause-at=0", "--pause-at=1,,x"}) {
    const char* argv[] = {"sensor-sim", bad};
    auto q = ParseOptions(2, const_cast<char**>(argv));
    EXPECT_FALSE(q.error.empty()) << bad;
  }
}

}  // namespace
}  // namespace sensorsim
