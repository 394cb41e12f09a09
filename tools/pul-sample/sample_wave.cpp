#include "sample_wave.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "record/short_string.h"

namespace sfigmo {
namespace {

// One beat's contribution at time u seconds from its bottom. The shape's
// time constants are those of a resting adult's finger pulse.
double BeatShape(double u, double depth, double peak) {
  constexpr double pi = std::numbers::pi;
  constexpr double descent = 0.10;  // fall from the baseline to the bottom
  constexpr double load = 0.09;     // bottom back to zero
  constexpr double rise = 0.10;     // zero up to the positive peak
  constexpr double decay = 0.145;   // peak's exponential fall (half after ~0.1 s)
  if (u < -descent || u > 1.2) return 0.0;
  if (u < 0) return -depth * (1 - std::cos(pi * (u + descent) / descent)) / 2;
  if (u < load) return -depth * (1 + std::cos(pi * u / load)) / 2;
  if (u < load + rise) return peak * (1 - std::cos(pi * (u - load) / rise)) / 2;
  const double t = u - load - rise;
  const double notch = 0.12 * peak * std::exp(-std::pow((t - 0.17) / 0.03, 2));
  return peak * std::exp(-t / decay) - notch;
}

}  // namespace

std::vector<std::int32_t> MakeSampleWave(const SampleWave& wave) {
  std::vector<int> beats{wave.FirstBeat};
  for (int interval : wave.Intervals) beats.push_back(beats.back() + interval);
  const int n = std::min(beats.back() + wave.TrailingSamples, kMaxSamples);

  std::vector<std::int32_t> samples(static_cast<std::size_t>(std::max(n, 0)));
  std::uint32_t noise = wave.Seed;
  for (int k = 1; k <= n; ++k) {
    double v =
        4.0 * std::sin(2 * std::numbers::pi * k * wave.SamplePeriod / 7.0);  // breathing drift
    for (int b : beats) v += BeatShape((k - b) * wave.SamplePeriod, wave.Depth, wave.Peak);
    noise = noise * 1664525u + 1013904223u;
    v += static_cast<double>(noise >> 30) - 1.5;  // -1.5 .. 1.5
    samples[static_cast<std::size_t>(k - 1)] = static_cast<std::int32_t>(std::lround(v));
  }
  return samples;
}

SampleWave NormalRestingWave() {
  SampleWave w;
  w.Intervals = {83, 80, 84, 87, 82, 79, 85, 88, 83, 81, 86, 84,
                 80, 83, 87, 82, 85, 81, 84, 86, 82, 80, 84};
  return w;
}

SampleWave MaximalRestingWave() {
  SampleWave w;
  int used = w.FirstBeat;
  for (int beat = 1; beat < 94; ++beat) {
    w.Intervals.push_back(112 + beat * 7 % 9);
    used += w.Intervals.back();
  }
  w.TrailingSamples = kMaxSamples - used;
  return w;
}

void FillSampleRecord(PulsogramRecord& record, const SampleWave& wave) {
  record = PulsogramRecord{};
  SetShortString(record.DateText, "26_12_07_");
  SetShortString(record.TimeText, "09_05_03");
  SetShortString(record.PatientName, "Образцов Пётр");
  SetShortString(record.PatientAge, "45");
  SetShortString(record.PatientSex, "муж");
  SetShortString(record.GeneralInfo, "Пример записи.\r\nСинтетическая пульсограмма в покое.");
  record.Gain = 30;
  record.SamplePeriod = wave.SamplePeriod;
  const std::vector<std::int32_t> samples = MakeSampleWave(wave);
  record.SampleCount = static_cast<std::uint16_t>(samples.size());
  std::copy(samples.begin(), samples.end(), record.Samples);
}

}  // namespace sfigmo
