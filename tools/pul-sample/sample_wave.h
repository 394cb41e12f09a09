#pragma once
// A synthetic finger-sensor recording: the differentiated pulse wave the
// measurement run stores, one deep negative swing per beat, then the
// upstroke's positive peak and its decay with a dicrotic notch, slow
// baseline drift and a little noise. Used for the sample record the build
// ships, for tests and for benchmarks.

#include <cstdint>
#include <vector>

#include "record/pulsogram_record.h"

namespace sfigmo {

struct SampleWave {
  double SamplePeriod = 0.01;  // s per sample
  std::vector<int> Intervals;  // samples between consecutive beats
  int FirstBeat = 60;          // 1-based index of the first beat's bottom
  int TrailingSamples = 60;    // after the last beat
  double Depth = 600;          // depth of each beat's negative swing
  double Peak = 300;           // height of the positive peak
  std::uint32_t Seed = 1;      // noise
};

// The samples S[1..N] of the described wave (N = FirstBeat + sum of the
// intervals + TrailingSamples, at most 10901).
std::vector<std::int32_t> MakeSampleWave(const SampleWave& wave);

// Twenty-four beats at about 72 beats/min, 100 samples/s: accepted, with a
// normal conclusion.
SampleWave NormalRestingWave();

// The same resting wave filling a whole record: 94 beats at about 52 per
// minute over 10901 samples. Accepted, calculation completed.
SampleWave MaximalRestingWave();

// Fills the header (a made-up patient), the wave, Gain and SamplePeriod;
// the result block is left zero for the caller to compute.
void FillSampleRecord(PulsogramRecord& record, const SampleWave& wave);

}  // namespace sfigmo
