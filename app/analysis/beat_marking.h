#pragma once
// Beat marking: one mark at the bottom of each beat's deep negative swing,
// the acceptance test of a recording, and the cardio intervals.
// Pure functions of the sample array; main thread or any thread.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "analysis/enum_labels.h"

namespace sfigmo {

struct BeatMark {
  std::uint8_t Marked = 0;  // 1 for every entry the marking wrote
  std::int32_t Value = 0;   // sample value where the mark was found
  std::int32_t Index = 0;   // 1-based sample index; centred after the scan
};

inline constexpr int kMarkTableCapacity = 3000;

struct MarkTable {
  std::vector<BeatMark> Marks;  // Marks[j - 1] is entry j; size() is M
  std::int32_t MarkMin = 9999;
  std::int32_t MarkThreshold = 0;

  int count() const { return static_cast<int>(Marks.size()); }
};

// samples holds S[1..N] (samples[k - 1] is S[k]). Any int32 values; the
// table stops growing at kMarkTableCapacity whatever N the caller passes.
MarkTable MarkBeats(std::span<const std::int32_t> samples);

enum class Rejection { None, Beats, FirstBeat, Amplitude, TooMany };

// Rejection::None means accepted. The tests run in the order beats,
// first beat, amplitude, too many; the first failing one is reported. A NaN
// or infinite period (a damaged file) fails the first-beat test.
Rejection AcceptMarks(const MarkTable& table, double samplePeriod);

// Each failed test, as reports name it and explain it.
inline constexpr std::array<EnumLabel<Rejection>, 4> kRejectionLabels = {{
    {Rejection::Beats, "beats", "меньше трёх отметок ударов"},
    {Rejection::FirstBeat, "first-beat", "первый удар позже 2 с от начала записи"},
    {Rejection::Amplitude, "amplitude", "мала амплитуда сигнала (|MarkMin| < 20)"},
    {Rejection::TooMany, "too-many", "больше 100 отметок ударов"},
}};
static_assert(LabelsInOrder(kRejectionLabels, Rejection::Beats));

// Empty word and text for None.
constexpr EnumLabel<Rejection> Label(Rejection r) { return LabelIn(kRejectionLabels, r); }

// Intervals[j - 1] = Index[j + 1] - Index[j], j = 1..M - 1.
std::vector<std::int32_t> CardioIntervals(const MarkTable& table);

}  // namespace sfigmo
