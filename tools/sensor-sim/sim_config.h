#pragma once
// Settings of the simulated sensor, filled from the command line.

#include <cstdint>
#include <set>
#include <string>

namespace sensorsim {

// A rhythm disturbance throughout the run: atrial fibrillation, premature
// ventricular or premature atrial contractions at random beats.
enum class Rhythm { Sinus, Af, Pvc, Pac };

struct SimConfig {
  double rate = 50.0;             // samples per second (five per frame)
  double bpm = 72.0;              // mean heart rate
  double variability = 0.04;      // beat-to-beat spread, fraction of the mean interval
  std::set<long> extrasystoleAt;  // beat numbers (1 = first beat after start)
  std::set<long> pauseAt;
  Rhythm rhythm = Rhythm::Sinus;
  double batteryVolts = 9.0;
  double noise = 12.0;   // light-level noise, standard deviation in counts
  double drift = 400.0;  // slow baseline drift, amplitude in counts
  double dicroticDepth = 1.0;  // factor on the dicrotic wave's height
  std::string replayFile;
  double replayRate = 100.0;
  double replayScale = 0.0;   // K of A = 20000 - K x value; 0: chosen from the recording
  bool mute = false;          // never answers
  bool refuseStart = false;   // answers everything but the stream start
  long stopAfterFrames = -1;  // falls silent after this many frames (-1: never)
  double corrupt = 0.0;       // fraction of sent bytes replaced by garbage
  // Frames lost on the way: from frame dropEvery on, every dropEvery-th
  // frame of a stream and the dropBurst - 1 after it, at most dropLimit times
  // (-1: no limit). 0: none. dropAsBadCrc sends them with a wrong CRC
  // instead of not at all.
  long dropEvery = 0;
  long dropBurst = 1;
  long dropLimit = -1;
  bool dropAsBadCrc = false;
  // A stalled link: from frame stallAt of each stream on, every byte is held
  // back for stallMs and then delivered at once; nothing is lost. 0: none.
  long stallAt = 0;
  long stallMs = 1400;
  std::string logFile;
  std::uint64_t seed = 1;
};

// Clock ticks of one sample: the sensor counts 3 MHz ticks per sample, A + B.
inline constexpr double kTickRate = 3.0e6;
// The light-level model is written for 20 ms samples (60000 ticks).
inline constexpr double kReferenceTicks = 60000.0;

}  // namespace sensorsim
