#pragma once
// Light level of a finger sensor: it drops sharply at each systolic upstroke
// (more blood, less light), recovers with a dicrotic notch, and wanders with
// breathing and pressure of the finger. Levels are counts at 60000 ticks per
// sample; the frame builder scales them to the actual sample length.

#include <deque>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "sim_config.h"

namespace sensorsim {

class SignalSource {
 public:
  virtual ~SignalSource() = default;
  // Level of the next sample.
  virtual double NextLevel() = 0;
  // Back to the first sample (each stream start replays the same signal).
  virtual void Restart() = 0;
};

class PulseModel : public SignalSource {
 public:
  explicit PulseModel(const SimConfig& config);
  double NextLevel() override;
  void Restart() override;
  // Onset times (s) of the beats scheduled so far, for tests.
  const std::vector<double>& BeatOnsets() const { return onsets_; }

 private:
  struct Beat {
    double onset;
    double amplitude;
  };
  void ScheduleUntil(double t);
  static double PulseShape(double tau, double dicroticDepth);
  // The interval to the next beat under the configured rhythm disturbance.
  double Disturb(double interval, double mean);

  SimConfig config_;
  std::mt19937_64 rng_;
  std::normal_distribution<double> gauss_{0.0, 1.0};
  std::deque<Beat> active_;
  std::vector<double> onsets_;
  long beatNumber_ = 0;
  long sample_ = 0;
  double nextOnset_ = 0.0;
  double compensation_ = 1.0;   // interval factor owed after an extrasystole
  double nextAmplitude_ = 1.0;  // of the beat scheduled next
  bool ectopicBefore_ = false;  // the interval scheduled last ended in a premature beat
};

// Replays a recorded blood-volume signal (one column, or "timer,hr" with the
// time in milliseconds) as a light level 20000 - K x value, resampled to the
// simulator's rate and looped. Throws std::runtime_error with a Russian
// message on bad files.
class ReplaySource : public SignalSource {
 public:
  // `scale` is K; 0 chooses it with TypicalScale().
  ReplaySource(const std::string& file, double fileRate, double sampleRate, double scale = 0.0);
  double NextLevel() override;
  void Restart() override { sample_ = 0; }
  double Scale() const { return scale_; }
  // Length of the recording; the replay loops after it.
  double Seconds() const { return times_.back() - times_.front(); }

  // K that makes the typical steepest rise of the light level over five
  // samples (the median over 4-second stretches) the one a sensor at its
  // designed level gives, so the program's calibration at its start gain
  // sees a peak in its intended range.
  double TypicalScale() const;

 private:
  double ValueAt(long sample) const;  // resampled and looped

  std::vector<double> times_;   // seconds
  std::vector<double> values_;  // as recorded
  double sampleRate_;
  double scale_ = 0.0;
  long sample_ = 0;
};

std::unique_ptr<SignalSource> MakeSignalSource(const SimConfig& config);

}  // namespace sensorsim
