// The whole analysis of a full record, as the calculation and the archive
// browser run it, and the same after reading the record from a file.
// Two full records: a resting one (94 beats, as a patient gives them) and
// one packed with beats (the marking's and the indices' worst case).

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "analysis/beat_marking.h"
#include "analysis/conclusion_rules.h"
#include "analysis/indices.h"
#include "analysis/rhythm_reading.h"
#include "analysis/signal_quality.h"
#include "sample_wave.h"
#include "record/pulsogram_record.h"
#include "storage/record_file.h"

namespace {

using namespace sfigmo;

// A full record packed with beats: 11 samples apart, every tenth 12, which
// gives about 990 marks in 10901 samples and lets the calculation complete.
std::vector<std::int32_t> DenseWave(std::size_t n) {
  std::vector<std::int32_t> s(n, 0);
  const std::int32_t shape[] = {-25, -50, -100, -50, 25, 50, 25};
  std::size_t k = 20;
  for (int beat = 0; k + 7 <= n; ++beat) {
    for (std::size_t i = 0; i < 7; ++i) s[k - 2 + i] = shape[i];
    k += (beat % 10 == 9) ? 12 : 11;
  }
  return s;
}

struct Outcome {
  int marks = 0;
  CalcStop stop = CalcStop::Completed;
  bool advice = false;
  bool doubtful = false;
};

Outcome Analyse(std::span<const std::int32_t> samples, double period) {
  const MarkTable table = MarkBeats(samples);
  benchmark::DoNotOptimize(AcceptMarks(table, period));
  AnalysisResults r;
  Outcome o;
  o.marks = table.count();
  o.stop = ComputeAll(samples, table, period, r);
  const int score = ConclusionScore(r);
  o.advice = AdviceNeeded(score, PressureEstimate(r, r.MeanInterval));
  benchmark::DoNotOptimize(ConclusionVerdicts(r));
  o.doubtful = AssessSignalQuality(samples, table, period).doubtful;
  benchmark::DoNotOptimize(ReadRhythm(table));
  return o;
}

void BM_FullAnalysis(benchmark::State& state) {
  const std::vector<std::int32_t> wave = DenseWave(kMaxSamples);
  Outcome o;
  for (auto _ : state) {
    o = Analyse(wave, 0.01);
    benchmark::DoNotOptimize(o);
  }
  if (o.stop != CalcStop::Completed) state.SkipWithError("calculation did not complete");
  state.counters["marks"] = o.marks;
  state.SetItemsProcessed(state.iterations() * kMaxSamples);
}
BENCHMARK(BM_FullAnalysis);

void BM_FullAnalysisOfRestingRecord(benchmark::State& state) {
  const std::vector<std::int32_t> wave = MakeSampleWave(MaximalRestingWave());
  Outcome o;
  for (auto _ : state) {
    o = Analyse(wave, 0.01);
    benchmark::DoNotOptimize(o);
  }
  if (o.stop != CalcStop::Completed) state.SkipWithError("calculation did not complete");
  if (o.doubtful) state.SkipWithError("the resting record was judged doubtful");
  state.counters["marks"] = o.marks;
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(wave.size()));
}
BENCHMARK(BM_FullAnalysisOfRestingRecord);

// Linear in the number of samples: the fitted complexity should read O(N).
void BM_FullAnalysisBySamples(benchmark::State& state) {
  const std::vector<std::int32_t> wave = DenseWave(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(Analyse(wave, 0.01));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_FullAnalysisBySamples)
    ->RangeMultiplier(2)
    ->Range(1024, 8192)
    ->Arg(10901)
    ->Complexity(benchmark::oN);

void BM_ReadRecordAndAnalyse(benchmark::State& state) {
  const std::vector<std::int32_t> wave = DenseWave(kMaxSamples);
  auto record = std::make_unique<PulsogramRecord>();  // value-initialised: zeros
  record->SamplePeriod = 0.01;
  record->SampleCount = kMaxSamples;
  std::copy(wave.begin(), wave.end(), record->Samples);
  const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                     ("bench-analysis-" + std::to_string(::getpid()) + ".pul");
  if (!WriteRecord(path, *record).ok()) {
    state.SkipWithError("cannot write the record file");
    return;
  }
  auto loaded = std::make_unique<PulsogramRecord>();
  for (auto _ : state) {
    if (!ReadRecord(path, *loaded).ok()) {
      state.SkipWithError("cannot read the record file");
      break;
    }
    const std::span<const std::int32_t> samples(
        loaded->Samples, static_cast<std::size_t>(UsableSampleCount(*loaded)));
    benchmark::DoNotOptimize(Analyse(samples, loaded->SamplePeriod));
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_ReadRecordAndAnalyse);

// The signal-quality check alone, on a full record at 100 samples per
// second: its period estimate is one FFT pair, N log N.
void BM_SignalQualityBySamples(benchmark::State& state) {
  const std::vector<std::int32_t> wave = DenseWave(static_cast<std::size_t>(state.range(0)));
  const MarkTable table = MarkBeats(wave);
  for (auto _ : state) benchmark::DoNotOptimize(AssessSignalQuality(wave, table, 0.01));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SignalQualityBySamples)
    ->RangeMultiplier(2)
    ->Range(1024, 8192)
    ->Arg(10901)
    ->Complexity(benchmark::oNLogN);

}  // namespace

BENCHMARK_MAIN();
