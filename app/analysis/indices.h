#pragma once
// The two stages of the calculation: rhythm indices from the cardio
// intervals, then wave-shape indices from the samples and marks.
// Each writes its fields into the working results as it reaches them; a
// stop leaves the later fields as the previous calculation left them.

#include <array>
#include <cstdint>
#include <span>

#include "analysis/beat_marking.h"
#include "analysis/enum_labels.h"
#include "record/analysis_results.h"

namespace sfigmo {

// Which guard ended the calculation, or Completed.
enum class CalcStop { Completed, Rhythm1, Rhythm7, Rhythm9, Rhythm11, Shape };

// Each guard, as reports name it and explain it.
inline constexpr std::array<EnumLabel<CalcStop>, 5> kCalcStopLabels = {{
    {CalcStop::Rhythm1, "rhythm-1", "нет интервалов или нулевой период отсчётов"},
    {CalcStop::Rhythm7, "rhythm-7", "все интервалы — паузы или экстрасистолы"},
    {CalcStop::Rhythm9, "rhythm-9", "все нормальные интервалы одинаковы"},
    {CalcStop::Rhythm11, "rhythm-11",
     "недопустимые VRKI или MeanNormalInterval (отрицательный период?)"},
    {CalcStop::Shape, "shape", "меньше четырёх отметок: форма волны не измеряется"},
}};
static_assert(LabelsInOrder(kCalcStopLabels, CalcStop::Rhythm1));

// Empty word and text for Completed.
constexpr EnumLabel<CalcStop> Label(CalcStop s) { return LabelIn(kCalcStopLabels, s); }

// The rhythm stage; returns Completed or the guard that stopped it. A zero,
// NaN or infinite period stops at Rhythm1 before anything is written; a
// negative one, or one so large that the means overflow, at Rhythm11.
CalcStop ComputeRhythm(std::span<const std::int32_t> intervals, double period,
                       AnalysisResults& results);

// Four walks per measured beat (marks 2..M-2); Shape when no beat is measured
// (M < 4) or there are no samples. Mark indices outside 1..N (a table left
// from another recording) are taken as the nearest end of the samples.
CalcStop ComputeShape(std::span<const std::int32_t> samples, const MarkTable& table,
                      double period, AnalysisResults& results);

// Both stages in order, as the calculation action runs them.
CalcStop ComputeAll(std::span<const std::int32_t> samples, const MarkTable& table,
                    double period, AnalysisResults& results);

// Whether a calculation that ended at `stop` has given `field` its value; a
// guard leaves the fields of the later steps as the previous calculation
// left them.
bool ResultWritten(CalcStop stop, double AnalysisResults::*field);

// Vascular tone, %: (NAGR + DescentTime) * 100 / MeanInterval. NaN or an
// infinity when MeanInterval is 0; callers that show it test std::isfinite.
double TOSO(double nagr, double descentTime, double meanInterval);
inline double TOSO(const AnalysisResults& r) { return TOSO(r.NAGR, r.DescentTime, r.MeanInterval); }

}  // namespace sfigmo
