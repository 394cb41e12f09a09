#include "sim_options.h"

#include <getopt.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace sensorsim {

namespace {

bool ToDouble(const char* text, double& out) {
  char* end = nullptr;
  out = std::strtod(text, &end);
  return end != text && *end == '\0' && std::isfinite(out);
}

bool ToLong(const char* text, long& out) {
  const char* end = text + std::char_traits<char>::length(text);
  auto [p, ec] = std::from_chars(text, end, out);
  return ec == std::errc() && p == end;
}

bool ToBeatList(const char* text, std::set<long>& out) {
  std::stringstream in(text);
  std::string item;
  while (std::getline(in, item, ',')) {
    long n = 0;
    if (!ToLong(item.c_str(), n) || n < 1) return false;
    out.insert(n);
  }
  return !out.empty();
}

enum Option {
  kRate = 1000,
  kBpm,
  kVariability,
  kExtra,
  kPause,
  kBattery,
  kNoise,
  kDrift,
  kDicroticDepth,
  kReplay,
  kReplayRate,
  kReplayScale,
  kMute,
  kRefuseStart,
  kStopAfter,
  kCorrupt,
  kDropEvery,
  kDropBurst,
  kDropLimit,
  kDropCrc,
  kStallAt,
  kStallMs,
  kLog,
  kSeed,
  kRhythm,
  kHelp
};

const option kLongOptions[] = {
    {"rate", required_argument, nullptr, kRate},
    {"bpm", required_argument, nullptr, kBpm},
    {"variability", required_argument, nullptr, kVariability},
    {"extrasystole-at", required_argument, nullptr, kExtra},
    {"pause-at", required_argument, nullptr, kPause},
    {"rhythm", required_argument, nullptr, kRhythm},
    {"battery", required_argument, nullptr, kBattery},
    {"noise", required_argument, nullptr, kNoise},
    {"drift", required_argument, nullptr, kDrift},
    {"dicrotic-depth", required_argument, nullptr, kDicroticDepth},
    {"replay", required_argument, nullptr, kReplay},
    {"replay-rate", required_argument, nullptr, kReplayRate},
    {"replay-scale", required_argument, nullptr, kReplayScale},
    {"mute", no_argument, nullptr, kMute},
    {"refuse-start", no_argument, nullptr, kRefuseStart},
    {"stop-after-frames", required_argument, nullptr, kStopAfter},
    {"corrupt", required_argument, nullptr, kCorrupt},
    {"drop-every", required_argument, nullptr, kDropEvery},
    {"drop-burst", required_argument, nullptr, kDropBurst},
    {"drop-limit", required_argument, nullptr, kDropLimit},
    {"drop-crc", no_argument, nullptr, kDropCrc},
    {"stall-at", required_argument, nullptr, kStallAt},
    {"stall-ms", required_argument, nullptr, kStallMs},
    {"log", required_argument, nullptr, kLog},
    {"seed", required_argument, nullptr, kSeed},
    {"help", no_argument, nullptr, kHelp},
    {nullptr, 0, nullptr, 0},
};

// Applies one option; returns the Russian error text, empty when fine.
std::string Apply(int opt, const char* arg, ParsedOptions& p) {
  SimConfig& c = p.config;
  long n = 0;
  switch (opt) {
    case kRate:
      // A + B must fit 16 bits: 3 MHz / 65535 is about 45.8 samples per second.
      if (!ToDouble(arg, c.rate) || c.rate < 46.0 || c.rate > 20000.0)
        return "--rate: частота отсчётов должна быть от 46 до 20000 в секунду";
      return {};
    case kBpm:
      if (!ToDouble(arg, c.bpm) || c.bpm < 20.0 || c.bpm > 250.0)
        return "--bpm: пульс должен быть от 20 до 250";
      return {};
    case kVariability:
      if (!ToDouble(arg, c.variability) || c.variability < 0.0 || c.variability > 0.5)
        return "--variability: разброс должен быть от 0 до 0.5";
      return {};
    case kExtra:
      return ToBeatList(arg, c.extrasystoleAt)
                 ? ""
                 : "--extrasystole-at: нужен список номеров ударов, например 5,12";
    case kPause:
      return ToBeatList(arg, c.pauseAt) ? ""
                                        : "--pause-at: нужен список номеров ударов, например 7,20";
    case kBattery:
      if (!ToDouble(arg, c.batteryVolts) || c.batteryVolts < 0.0 || c.batteryVolts > 255.0)
        return "--battery: напряжение должно быть от 0 до 255 В";
      return {};
    case kNoise:
      return ToDouble(arg, c.noise) && c.noise >= 0.0 ? "" : "--noise: нужно неотрицательное число";
    case kDrift:
      return ToDouble(arg, c.drift) && c.drift >= 0.0 ? "" : "--drift: нужно неотрицательное число";
    case kDicroticDepth:
      return ToDouble(arg, c.dicroticDepth) && c.dicroticDepth >= 0.0 && c.dicroticDepth <= 20.0
                 ? ""
                 : "--dicrotic-depth: множитель должен быть от 0 до 20";
    case kReplay:
      c.replayFile = arg;
      return {};
    case kReplayRate:
      return ToDouble(arg, c.replayRate) && c.replayRate > 0.0
                 ? ""
                 : "--replay-rate: нужна положительная частота";
    case kReplayScale:
      return ToDouble(arg, c.replayScale) && c.replayScale > 0.0
                 ? ""
                 : "--replay-scale: нужен положительный множитель";
    case kMute:
      c.mute = true;
      return {};
    case kRefuseStart:
      c.refuseStart = true;
      return {};
    case kStopAfter:
      if (!ToLong(arg, n) || n < 0) return "--stop-after-frames: нужно неотрицательное целое";
      c.stopAfterFrames = n;
      return {};
    case kCorrupt:
      if (!ToDouble(arg, c.corrupt) || c.corrupt < 0.0 || c.corrupt > 1.0)
        return "--corrupt: доля должна быть от 0 до 1";
      return {};
    case kDropEvery:
      if (!ToLong(arg, n) || n < 2) return "--drop-every: нужно целое не меньше 2";
      c.dropEvery = n;
      return {};
    case kDropBurst:
      if (!ToLong(arg, n) || n < 1) return "--drop-burst: нужно положительное целое";
      c.dropBurst = n;
      return {};
    case kDropLimit:
      if (!ToLong(arg, n) || n < 1) return "--drop-limit: нужно положительное целое";
      c.dropLimit = n;
      return {};
    case kDropCrc:
      c.dropAsBadCrc = true;
      return {};
    case kStallAt:
      if (!ToLong(arg, n) || n < 1) return "--stall-at: нужен номер кадра, положительное целое";
      c.stallAt = n;
      return {};
    case kStallMs:
      if (!ToLong(arg, n) || n < 1 || n > 600000)
        return "--stall-ms: задержка должна быть от 1 до 600000 мс";
      c.stallMs = n;
      return {};
    case kLog:
      c.logFile = arg;
      return {};
    case kRhythm: {
      const std::string r = arg;
      if (r == "af") {
        c.rhythm = Rhythm::Af;
      } else if (r == "pvc") {
        c.rhythm = Rhythm::Pvc;
      } else if (r == "pac") {
        c.rhythm = Rhythm::Pac;
      } else {
        return "--rhythm: нужно af, pvc или pac";
      }
      return {};
    }
    case kSeed:
      if (!ToLong(arg, n)) return "--seed: нужно целое число";
      c.seed = static_cast<std::uint64_t>(n);
      return {};
    case kHelp:
      p.help = true;
      return {};
    default:
      return "неизвестный параметр (см. --help)";
  }
}

}  // namespace

ParsedOptions ParseOptions(int argc, char** argv) {
  ParsedOptions p;
  optind = 1;
  opterr = 0;
  int opt = 0;
  while ((opt = getopt_long(argc, argv, "", kLongOptions, nullptr)) != -1) {
    p.error = Apply(opt, optarg, p);
    if (!p.error.empty()) return p;
  }
  if (optind < argc) p.error = std::string("лишний аргумент: ") + argv[optind];
  if (p.error.empty() && p.config.dropEvery > 0 && p.config.dropBurst >= p.config.dropEvery)
    p.error = "--drop-burst: серия потерь должна быть короче --drop-every";
  return p;
}

const char* UsageText() {
  return "sensor-sim: the simulated finger sensor on a pseudo-terminal.\n"
         "Prints the terminal's path on the first line, then serves until killed or stdin closes.\n"
         "\n"
         "  --rate HZ               samples per second, 46..20000 (default 50; 5 samples per "
         "frame)\n"
         "  --bpm N                 heart rate (default 72)\n"
         "  --variability F         beat-to-beat spread, fraction of the interval (default 0.04)\n"
         "  --extrasystole-at N,..  premature beats at these beat numbers (1 = first after start)\n"
         "  --pause-at N,..         doubled intervals before these beats\n"
         "  --rhythm af|pvc|pac     atrial fibrillation, or premature ventricular or atrial\n"
         "                          contractions at random beats (see --seed)\n"
         "  --battery VOLTS         battery voltage reported (default 9.0)\n"
         "  --noise SD              light-level noise in counts (default 12)\n"
         "  --drift AMPL            baseline drift in counts (default 400)\n"
         "  --dicrotic-depth F      dicrotic wave F times as high (default 1; from about 7\n"
         "                          on the marking counts it as a beat)\n"
         "  --replay FILE.csv       replay a recording (one column, or timer,hr) instead\n"
         "  --replay-rate HZ        sample rate of a one-column recording (default 100)\n"
         "  --replay-scale K        replayed level A = 20000 - K x value (default: K that puts\n"
         "                          the recording's typical pulse at the sensor's designed level)\n"
         "  --mute                  never answer\n"
         "  --refuse-start          answer everything but the stream start\n"
         "  --stop-after-frames N   fall silent after N measurement frames\n"
         "  --corrupt FRACTION      replace this fraction of sent bytes by garbage\n"
         "  --drop-every N          lose every Nth measurement frame of a stream (N >= 2)\n"
         "  --drop-burst K          each loss takes K frames in a row (default 1, K < N)\n"
         "  --drop-limit M          lose frames at most M times per stream (default: always)\n"
         "  --drop-crc              send the lost frames with a wrong CRC instead of not at "
         "all\n"
         "  --stall-at K            from frame K of each stream on, hold every byte back for\n"
         "                          --stall-ms, then send them all at once (nothing lost)\n"
         "  --stall-ms N            how long --stall-at holds the bytes (default 1400)\n"
         "  --log FILE              write every measurement frame sent, one per line\n"
         "  --seed N                random seed (default 1)\n";
}

}  // namespace sensorsim
