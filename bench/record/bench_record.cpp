// The full analysis of one record (marking, acceptance, both calculation
// stages, the conclusion's rules) and the same after reading the file.
// The analysis must stay linear in the number of samples.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "analysis/beat_marking.h"
#include "analysis/conclusion_rules.h"
#include "analysis/indices.h"
#include "analysis/record_report.h"
#include "sample_wave.h"
#include "storage/record_file.h"

namespace sfigmo {
namespace {

// 10901 samples with a beat every 11 or 12 samples (about 930 to 990 marks):
// the densest marking a record can hold.
std::unique_ptr<PulsogramRecord> DenseRecord() {
  auto r = std::make_unique<PulsogramRecord>();
  r->SamplePeriod = 0.01;
  r->SampleCount = kMaxSamples;
  constexpr int kBeat[] = {-100, -60, -20, 5, 30, 50, 40, 25, 12, 5, 0, 0};
  int k = 12;  // first beat after the ten samples the marking skips
  for (int beat = 0; k < kMaxSamples; ++beat) {
    const int length = beat % 16 == 0 ? 12 : 11;
    for (int i = 0; i < length && k + i < kMaxSamples; ++i) r->Samples[k + i] = kBeat[i];
    k += length;
  }
  return r;
}

// Every stage regardless of the acceptance test (the dense record has far
// more than 100 beats), as the calculation would run it.
void FullAnalysis(const PulsogramRecord& record, AnalysisResults& results) {
  const std::span<const std::int32_t> samples(record.Samples, UsableSampleCount(record));
  const MarkTable marks = MarkBeats(samples);
  benchmark::DoNotOptimize(AcceptMarks(marks, record.SamplePeriod));
  benchmark::DoNotOptimize(ComputeAll(samples, marks, record.SamplePeriod, results));
  const int score = ConclusionScore(results);
  benchmark::DoNotOptimize(ConclusionVerdicts(results));
  benchmark::DoNotOptimize(AdviceNeeded(score, PressureEstimate(results, results.MeanInterval)));
}

void BM_FullAnalysisDense(benchmark::State& state) {
  const auto record = DenseRecord();
  AnalysisResults results;
  for (auto _ : state) FullAnalysis(*record, results);
  state.counters["marks"] = static_cast<double>(MarkBeats({record->Samples, kMaxSamples}).count());
  state.counters["PULS"] = results.PULS;
  state.SetItemsProcessed(state.iterations() * kMaxSamples);
}
BENCHMARK(BM_FullAnalysisDense);

// A realistic wave over the whole record, at several lengths: the time per
// sample must not grow.
void BM_FullAnalysisResting(benchmark::State& state) {
  SampleWave wave = NormalRestingWave();
  const std::vector<int> pattern = wave.Intervals;
  wave.Intervals.clear();
  while (static_cast<int>(wave.Intervals.size()) * 84 < state.range(0)) {
    wave.Intervals.insert(wave.Intervals.end(), pattern.begin(), pattern.end());
  }
  auto record = std::make_unique<PulsogramRecord>();
  FillSampleRecord(*record, wave);
  record->SampleCount =
      static_cast<std::uint16_t>(std::min<int64_t>(state.range(0), record->SampleCount));
  AnalysisResults results;
  for (auto _ : state) FullAnalysis(*record, results);
  state.SetItemsProcessed(state.iterations() * record->SampleCount);
}
BENCHMARK(BM_FullAnalysisResting)->Arg(2000)->Arg(5000)->Arg(10901);

void BM_ReadRecordAndAnalyse(benchmark::State& state) {
  auto record = std::make_unique<PulsogramRecord>();
  FillSampleRecord(*record, NormalRestingWave());
  const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                     ("sfigmo-bench-" + std::to_string(::getpid()) + ".pul");
  if (!WriteRecord(file, *record).ok()) {
    state.SkipWithError("cannot write the record");
    return;
  }
  auto read = std::make_unique<PulsogramRecord>();
  for (auto _ : state) {
    if (!ReadRecord(file, *read).ok()) state.SkipWithError("cannot read the record");
    benchmark::DoNotOptimize(AnalyseRecord(*read, false));
  }
  std::filesystem::remove(file);
}
BENCHMARK(BM_ReadRecordAndAnalyse);

}  // namespace
}  // namespace sfigmo
