#include "pulse_model.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <numbers>
#include <sstream>
#include <stdexcept>
#include <utility>

#include "common/median.h"

namespace sensorsim {

namespace {
constexpr double kBaseLevel = 25000.0;
constexpr double kPulseDepth = 2500.0;  // light lost at a full systolic upstroke
constexpr double kFirstOnset = 0.3;     // s after the stream start
constexpr double kPulseLength = 3.0;    // s after which a beat no longer counts
constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kReplayBaseLevel = 20000.0;
constexpr double kFlatRecordingScale = 12.0;  // nothing to measure a rise on
constexpr double kStretchSeconds = 4.0;       // about what one calibration sees
constexpr double kEctopicShare = 0.15;        // of the beats, with --rhythm pvc or pac
}  // namespace

PulseModel::PulseModel(const SimConfig& config) : config_(config) { Restart(); }

void PulseModel::Restart() {
  rng_.seed(config_.seed);
  gauss_.reset();
  active_.clear();
  onsets_.clear();
  beatNumber_ = 0;
  sample_ = 0;
  nextOnset_ = kFirstOnset;
  compensation_ = 1.0;
  nextAmplitude_ = 1.0;
  ectopicBefore_ = false;
}

// Blood volume after the onset of one beat (peak 1): a fast upstroke, a
// rounded crest and systolic fall, and the reflected (dicrotic) wave that
// leaves a notch; dicroticDepth scales that wave (large values make its
// swing as deep as the systolic one).
double PulseModel::PulseShape(double tau, double dicroticDepth) {
  constexpr double kRise = 0.12, kDicroticAt = 0.30, kDicroticWidth = 0.06;
  // The crest is rounded: the fall starts with zero slope, steepens, then
  // eases into a slow diastolic tail, so the differentiated wave's positive
  // lobe rises over tens of milliseconds as a real finger sensor's does.
  constexpr double kCrestFall = 0.085, kTailFall = 0.4, kCrestShare = 0.7;
  if (tau < 0.0) return 0.0;
  if (tau < kRise) return 0.5 - 0.5 * std::cos(std::numbers::pi * tau / kRise);
  const double after = tau - kRise;
  auto fall = [](double x) { return (1.0 + x) * std::exp(-x); };
  const double systolic =
      kCrestShare * fall(after / kCrestFall) + (1.0 - kCrestShare) * fall(after / kTailFall);
  const double d = (after - kDicroticAt) / kDicroticWidth;
  const double dicrotic = 0.15 * dicroticDepth * std::exp(-d * d) * std::exp(-after / 0.8);
  return systolic + dicrotic;
}

void PulseModel::ScheduleUntil(double t) {
  const double mean = 60.0 / config_.bpm;
  while (nextOnset_ <= t) {
    ++beatNumber_;
    const bool extra = config_.extrasystoleAt.count(beatNumber_ + 1) != 0;
    const bool pause = config_.pauseAt.count(beatNumber_ + 1) != 0;
    active_.push_back({nextOnset_, nextAmplitude_ * (1.0 + 0.04 * gauss_(rng_))});
    onsets_.push_back(nextOnset_);
    // Interval to the next beat: random spread plus breathing (about 0.25 Hz).
    const double breathing = 0.5 * config_.variability * std::sin(kTwoPi * 0.25 * nextOnset_);
    double interval = mean * (1.0 + config_.variability * gauss_(rng_) + breathing) * compensation_;
    compensation_ = 1.0;
    nextAmplitude_ = 1.0;
    if (extra) {  // premature, weaker beat, then a full compensatory pause
      // Well under half the mean, so the analysis sees it even with the
      // spread of the other beats; the two intervals still add up to two.
      interval *= 0.42;
      nextAmplitude_ = 0.75;  // weaker, yet deep enough to be marked as a beat
      compensation_ = 1.58;
    }
    if (pause) interval *= 2.0;
    interval = Disturb(interval, mean);
    nextOnset_ += std::max(interval, 0.25);
  }
  while (!active_.empty() && t - active_.front().onset > kPulseLength) active_.pop_front();
}

double PulseModel::Disturb(double interval, double mean) {
  std::uniform_real_distribution<double> uniform(0.0, 1.0);
  switch (config_.rhythm) {
    case Rhythm::Sinus:
      return interval;
    case Rhythm::Af: {
      // Irregularly irregular: each interval drawn anew, 0.55 to 1.45 of the
      // mean; the ventricle fills less after a short one, so the beat that
      // ends it is weaker (yet above half the strongest, as most are).
      const double next = mean * (0.55 + 0.9 * uniform(rng_));
      nextAmplitude_ = std::clamp(0.55 + 0.45 * next / mean, 0.75, 1.15);
      return next;
    }
    case Rhythm::Pvc:
    case Rhythm::Pac: {
      // Never the pause after a premature beat, nor the first interval.
      const bool after = ectopicBefore_;
      ectopicBefore_ = false;
      if (after || beatNumber_ < 2 || uniform(rng_) >= kEctopicShare) return interval;
      ectopicBefore_ = true;
      const bool ventricular = config_.rhythm == Rhythm::Pvc;
      // A ventricular beat: early, weak, and a full compensatory pause (the
      // two intervals add up to two). An atrial one: a little less early,
      // of nearly full strength, and the pause that follows is no longer
      // than one interval (it resets the sinus node).
      const double early = ventricular ? 0.5 : 0.62;
      nextAmplitude_ = ventricular ? 0.6 : 0.9;
      compensation_ = ventricular ? (2.0 - early) : 1.1;
      return interval * early;
    }
  }
  return interval;
}

double PulseModel::NextLevel() {
  const double t = static_cast<double>(sample_++) / config_.rate;
  ScheduleUntil(t);
  double volume = 0.0;
  for (const Beat& b : active_) volume += b.amplitude * PulseShape(t - b.onset, config_.dicroticDepth);
  const double drift =
      config_.drift * (std::sin(kTwoPi * t / 9.0) + 0.5 * std::sin(kTwoPi * t / 23.0 + 1.0));
  return kBaseLevel - kPulseDepth * volume + drift + config_.noise * gauss_(rng_);
}

ReplaySource::ReplaySource(const std::string& file, double fileRate, double sampleRate,
                           double scale)
    : sampleRate_(sampleRate) {
  std::ifstream in(file);
  if (!in) throw std::runtime_error("не удалось открыть файл записи: " + file);
  std::string line;
  int timed = -1;  // decided by the first line: "timer,hr" rows or one value per row
  long row = 0;
  while (std::getline(in, line)) {
    ++row;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    if (timed < 0) timed = line.find(',') != std::string::npos;
    if (row == 1 && line.find_first_of("0123456789-.") != 0) continue;  // header
    std::istringstream fields(line);
    double time = 0.0, value = 0.0;
    char comma = 0;
    const bool ok = timed ? static_cast<bool>(fields >> time >> comma >> value) && comma == ','
                          : static_cast<bool>(fields >> value);
    if (!ok)
      throw std::runtime_error("неверная строка " + std::to_string(row) + " в файле " + file);
    times_.push_back(timed ? time / 1000.0 : static_cast<double>(values_.size()) / fileRate);
    values_.push_back(value);
  }
  if (values_.size() < 2) throw std::runtime_error("в файле записи меньше двух значений: " + file);
  for (std::size_t i = 1; i < times_.size(); ++i) {
    if (times_[i] <= times_[i - 1])
      throw std::runtime_error("время в файле записи не возрастает: " + file);
  }
  scale_ = scale > 0.0 ? scale : TypicalScale();
}

double ReplaySource::ValueAt(long sample) const {
  const double span = times_.back() - times_.front();
  const double t = times_.front() + std::fmod(static_cast<double>(sample) / sampleRate_, span);
  auto hi = std::upper_bound(times_.begin(), times_.end(), t);
  if (hi == times_.end()) return values_.back();
  if (hi == times_.begin()) return values_.front();
  const std::size_t i = static_cast<std::size_t>(hi - times_.begin());
  const double w = (t - times_[i - 1]) / (times_[i] - times_[i - 1]);
  return values_[i - 1] + w * (values_[i] - values_[i - 1]);
}

double ReplaySource::NextLevel() {
  // Recorded values rise with blood volume; the sensor's light level falls.
  return kReplayBaseLevel - scale_ * ValueAt(sample_++);
}

double ReplaySource::TypicalScale() const {
  // The program sums five samples and takes the change of the sum, so one
  // step's change is A(k) - A(k - 5); its start gain of 20 draws a change
  // of 281 counts 112 pixels above the baseline, the middle of the 75 to 150
  // its calibration is made for.
  constexpr double kDesignedRise = 112.5 * 50.0 / 20.0;
  constexpr int kSpan = 5;
  const long count =
      std::max(kSpan + 1L, std::lround((times_.back() - times_.front()) * sampleRate_));
  std::vector<double> rise(static_cast<std::size_t>(count - kSpan));
  for (long k = 0; k + kSpan < count; ++k) rise[k] = ValueAt(k) - ValueAt(k + kSpan);
  const std::size_t window =
      std::clamp<std::size_t>(std::lround(kStretchSeconds * sampleRate_), 1, rise.size());
  std::vector<double> peaks;
  for (std::size_t from = 0; from + window <= rise.size();
       from += std::max<std::size_t>(1, window / 2))
    peaks.push_back(*std::max_element(rise.begin() + from, rise.begin() + from + window));
  const double typical = sfigmo::Median(std::move(peaks));
  const double ticksPerReference = std::lround(kTickRate / sampleRate_) / kReferenceTicks;
  if (!(typical > 0.0)) return kFlatRecordingScale;
  return kDesignedRise / (typical * ticksPerReference);
}

std::unique_ptr<SignalSource> MakeSignalSource(const SimConfig& config) {
  if (!config.replayFile.empty()) {
    return std::make_unique<ReplaySource>(config.replayFile, config.replayRate, config.rate,
                                          config.replayScale);
  }
  return std::make_unique<PulseModel>(config);
}

}  // namespace sensorsim
