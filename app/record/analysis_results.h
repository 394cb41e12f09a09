#pragma once
// The 23 computed values of one measurement, in the order they lie in a
// record's result block. The analysis fills a working copy; the record holds
// the stored copy (same type, so copying is one assignment).

namespace sfigmo {

struct AnalysisResults {
  double NAGR = 0.0;                 // s, mean time from a beat's minimum to the zero crossing
  double DescentTime = 0.0;          // s, from 20 % of the minimum's depth down to the minimum
  double Reserved = 0.0;             // always 0.0
  double RiseTime = 0.0;             // s, zero crossing up to the positive peak
  double SPSO = 0.0;                 // s, positive peak down to half its height
  double MeanInterval = 0.0;         // s
  double MeanIntervalSamples = 0.0;  // samples
  double PULS = 0.0;                 // beats per minute
  double KOLP = 0.0;                 // number of pauses
  double KOLE = 0.0;                 // number of extrasystoles
  double PauseSamples = 0.0;         // samples
  double ExtraSamples = 0.0;         // samples
  double AbsDeviationSum = 0.0;      // s
  double MinNormalInterval = 0.0;    // samples
  double MaxNormalInterval = 0.0;    // samples
  double ModeCount = 0.0;            // count
  double IntervalCount = 0.0;        // count
  double MeanNormalInterval = 0.0;   // s
  double VRKI = 0.0;                 // s
  double KOVR = 0.0;                 // %
  double SpreadIndex = 0.0;          // 1/s²
  double AbsDeviationPercent = 0.0;  // %
  double IntervalSD = 0.0;           // s

  bool operator==(const AnalysisResults&) const = default;
};

static_assert(sizeof(AnalysisResults) == 23 * sizeof(double));

}  // namespace sfigmo
