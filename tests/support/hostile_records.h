#pragma once
// Stored records the program must judge impossible, each carrying a healthy
// result block (pulse 72, score 100) as a damaged or hostile file may: no
// path may turn one into a number, verdict, trend point, message or export
// row. Beside them the same record intact, so that a test of the refusals
// also shows the path still works.

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <span>
#include <vector>

#include "analysis/beat_marking.h"
#include "record_builder.h"
#include "results_fixtures.h"

namespace sfigmo::test {

struct HostileRecord {
  const char* Name;
  const char* RejectedBy;  // the judgement's word
  bool NotPulseRecording;  // beyond a failed acceptance test: EDF refuses it
  std::unique_ptr<PulsogramRecord> Record;
};

// A normal resting recording with healthy stored results.
inline std::unique_ptr<PulsogramRecord> HealthyRecording() {
  return RecordBuilder()
      .PulseWave(NormalRestingWave())
      .Patient("Иванов", "67", "М")
      .Taken("26_12_07_", "09_05_03")
      .Results(HealthyResults())
      .Build();
}

inline std::vector<HostileRecord> HostileRecords() {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  std::vector<HostileRecord> table;
  auto add = [&](const char* name, const char* by, bool notPulse, auto&& change) {
    auto record = HealthyRecording();
    change(*record);
    table.push_back({name, by, notPulse, std::move(record)});
  };
  auto period = [](double p) { return [p](PulsogramRecord& r) { r.SamplePeriod = p; }; };
  add("nan-period", "period", true, period(std::nan("")));
  add("nano-period", "period", true, period(1e-9));
  add("zero-period", "period", true, period(0.0));
  add("negative-period", "period", true, period(-0.01));
  add("minus-inf-period", "period", true, period(-kInf));
  add("no-samples", "samples", true, [](PulsogramRecord& r) { r.SampleCount = 0; });
  // The same beats twenty times as fast: 1440 per minute.
  add("pulse-1440", "pulse", true, period(0.0005));
  // Real samples the acceptance test rejects (two beats only).
  add("two-beats", "beats", false, [](PulsogramRecord& r) { r.SampleCount = 150; });
  return table;
}

// The healthy recording with a second, nearly as deep swing 0.3 s after
// every beat: accepted, but the marking counts each beat twice and the
// signal check calls it doubtful (dicrotic).
inline std::unique_ptr<PulsogramRecord> DoubleCountedRecording() {
  auto r = HealthyRecording();
  const MarkTable marks = MarkBeats(std::span<const std::int32_t>(r->Samples, r->SampleCount));
  for (const BeatMark& m : marks.Marks) {
    const int at = m.Index + 30;
    if (at + 3 > r->SampleCount) break;
    const std::int32_t d = marks.MarkMin * 4 / 5;
    const std::int32_t swing[] = {d / 3, d * 2 / 3, d, d * 2 / 3, d / 3};
    std::copy(std::begin(swing), std::end(swing), r->Samples + at - 3);
  }
  return r;
}

}  // namespace sfigmo::test
