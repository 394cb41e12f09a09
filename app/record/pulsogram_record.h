#pragma once
// One measurement, laid out byte for byte as a .pul file holds it
// (little-endian, natural alignment, 44136 bytes).

#include <cstddef>
#include <cstdint>

#include "analysis_results.h"

namespace sfigmo {

inline constexpr int kMaxSamples = 10901;
inline constexpr std::size_t kRecordSize = 44136;

struct PulsogramRecord {
  // Short strings: byte 0 is the length, then up to capacity Windows-1251 bytes.
  std::uint8_t DateText[11];     // capacity 10
  std::uint8_t TimeText[11];     // capacity 10
  std::uint8_t PatientName[31];  // capacity 30
  std::uint8_t PatientAge[11];   // capacity 10
  std::uint8_t PatientSex[6];    // capacity 5
  std::uint8_t GeneralInfo[256]; // capacity 255
  std::uint8_t Gap1[2];
  std::int32_t Gain;
  std::uint8_t Gap2[4];
  double SamplePeriod;           // seconds per sample
  std::uint16_t SampleCount;     // valid samples, 0..10901 (a damaged file may say more)
  std::uint8_t Gap3[2];
  std::int32_t Samples[kMaxSamples];  // sample k (1-based) is Samples[k - 1]
  AnalysisResults Results;       // the result block
};

static_assert(sizeof(PulsogramRecord) == kRecordSize);
static_assert(offsetof(PulsogramRecord, DateText) == 0);
static_assert(offsetof(PulsogramRecord, TimeText) == 11);
static_assert(offsetof(PulsogramRecord, PatientName) == 22);
static_assert(offsetof(PulsogramRecord, PatientAge) == 53);
static_assert(offsetof(PulsogramRecord, PatientSex) == 64);
static_assert(offsetof(PulsogramRecord, GeneralInfo) == 70);
static_assert(offsetof(PulsogramRecord, Gain) == 328);
static_assert(offsetof(PulsogramRecord, SamplePeriod) == 336);
static_assert(offsetof(PulsogramRecord, SampleCount) == 344);
static_assert(offsetof(PulsogramRecord, Samples) == 348);
static_assert(offsetof(PulsogramRecord, Results) == 43952);
static_assert(offsetof(PulsogramRecord, Results) + offsetof(AnalysisResults, NAGR) == 43952);
static_assert(offsetof(PulsogramRecord, Results) + offsetof(AnalysisResults, DescentTime) == 43960);
static_assert(offsetof(PulsogramRecord, Results) + offsetof(AnalysisResults, Reserved) == 43968);
static_assert(offsetof(PulsogramRecord, Results) + offsetof(AnalysisResults, RiseTime) == 43976);
static_assert(offsetof(PulsogramRecord, Results) + offsetof(AnalysisResults, SPSO) == 43984);
static_assert(offsetof(PulsogramRecord, Results) + offsetof(AnalysisResults, MeanInterval) == 43992);
static_assert(offsetof(PulsogramRecord, Results) + offsetof(AnalysisResults, MeanIntervalSamples) == 44000);
static_assert(offsetof(PulsogramRecord, Results) + offsetof(AnalysisResults, PULS) == 44008);
static_assert(offsetof(PulsogramRecord, Results) + offsetof(AnalysisResults, KOLP) == 44016);
static_assert(offsetof(PulsogramRecord, Results) + offsetof(AnalysisResults, KOLE) == 44024);
static_assert(offsetof(PulsogramRecord, Results) + offsetof(AnalysisResults, PauseSamples) == 44032);
static_assert(offsetof(PulsogramRecord, Results) + offsetof(AnalysisResults, ExtraSamples) == 44040);
static_assert(offsetof(PulsogramRecord, Results) + offsetof(AnalysisResults, AbsDeviationSum) == 44048);
static_assert(offsetof(PulsogramRecord, Results) + offsetof(AnalysisResults, MinNormalInterval) == 44056);
static_assert(offsetof(PulsogramRecord, Results) + offsetof(AnalysisResults, MaxNormalInterval) == 44064);
static_assert(offsetof(PulsogramRecord, Results) + offsetof(AnalysisResults, ModeCount) == 44072);
static_assert(offsetof(PulsogramRecord, Results) + offsetof(AnalysisResults, IntervalCount) == 44080);
static_assert(offsetof(PulsogramRecord, Results) + offsetof(AnalysisResults, MeanNormalInterval) == 44088);
static_assert(offsetof(PulsogramRecord, Results) + offsetof(AnalysisResults, VRKI) == 44096);
static_assert(offsetof(PulsogramRecord, Results) + offsetof(AnalysisResults, KOVR) == 44104);
static_assert(offsetof(PulsogramRecord, Results) + offsetof(AnalysisResults, SpreadIndex) == 44112);
static_assert(offsetof(PulsogramRecord, Results) + offsetof(AnalysisResults, AbsDeviationPercent) == 44120);
static_assert(offsetof(PulsogramRecord, Results) + offsetof(AnalysisResults, IntervalSD) == 44128);

// Number of samples that may be looked at: SampleCount limited to the room
// that Samples has, so a damaged file can never lead a reader past the array.
inline int UsableSampleCount(const PulsogramRecord& r) {
  return r.SampleCount > kMaxSamples ? kMaxSamples : r.SampleCount;
}

}  // namespace sfigmo
