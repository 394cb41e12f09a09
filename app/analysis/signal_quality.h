#pragma once
// Whether a recording's beat marks can be trusted: a check beside the
// analysis that never changes it. Pure function of the samples, the mark
// table and the sample period; any thread. Cost: the period estimate is two
// FFTs, O(N log N) for N samples; the mark checks add O(N), O(M log M)
// for each distinct length among the short intervals of M marks (an
// accepted marking has at most 100), and O(M) per point of the typical
// beat's shape.
//
// The marking takes every swing deeper than half of the deepest one as a
// beat. On real finger recordings that also takes the dicrotic swing of some
// beats (the rate then reads far too high), and one movement swing can lift
// the threshold so that real beats pass unmarked (the rate reads far too
// low). Premature beats, pauses and an irregularly irregular rhythm are
// rhythm findings, never bad signal: beats of one shape at uneven times. The
// check judges the marks against the wave's period and against the wave's
// beats:
//
// - Period. The wave is rebuilt from the differentiated samples (a running
//   sum less its mean over the surrounding second), brought to at most 100
//   samples per second, and autocorrelated over lags of 0.25 to 2 s (by FFT,
//   see autocorrelation.h). The period is the shortest local peak that
//   reaches 80 % of the highest one (a rhythm correlates at twice its period
//   too). The rebuilt wave has rounded beats, so the dicrotic swing hardly
//   counts. When no lag reaches a correlation of 0.3 the wave has no steady
//   period.
// - Beat shape. The samples from 0.3 s before each mark to 0.25 s after it
//   are its shape; the typical beat is the median of each point over the
//   marks, and a shape is alike when it correlates with that by 0.8 (an
//   unmarked swing counts as a beat's from 0.9). The diastole before an
//   upstroke tells it from a dicrotic swing, which follows the systolic fall.
//   The marks are of one shape when at most a fifth of them are unlike.
// - Steady: the intervals shorter than 1.5 periods lie within 15 % of their
//   median of each other.
// - "irregular": the wave has no steady period, and "rate": the median mark
//   interval is more than 15 % off that period (a marking wrong on most
//   beats moves the median). Where at least about every other interval is
//   shorter than 1.5 periods, the median of those stands for the marks: the
//   longer ones are pauses, as in bigeminy, and "missed" judges them.
//   Neither counts when the marks are beats of one shape at unsteady
//   intervals: an uneven rhythm has no single period. If such intervals
//   also do not pair up into steady sums of a short and a long part (under
//   0.7 of it), as a part of every beat marked would, their median stands
//   for the period below.
// - "dicrotic": an interval under 3/4 of the period whose later mark sits at
//   a delay where most other beats have a swing at least 60 % as deep that
//   is no beat of its own: a part of every beat's shape, marked as a beat.
// - "split": an interval under 3/4 of the period that adds up with its
//   neighbour to one period (0.8 to 1.2 of it), while the intervals just
//   outside the pair last one period, and the mark between them is unlike
//   the typical beat: an extra mark inside one beat of a rhythm that keeps
//   time has the systolic fall before it, a beat of an uneven rhythm that
//   happens to add up so its own diastole. A premature beat is followed by
//   a compensatory pause and adds up to about two periods instead. At
//   either end of the recording, where the neighbour is missing, the extra
//   mark counts as split only when it comes less than 0.3 s and less than a
//   third of the period after the previous one: the heart is still emptying
//   then.
// - "missed": inside an interval of at least 1.5 periods, an unmarked swing
//   of a beat's shape within 0.2 of a period of a whole period's distance
//   that looks like a full beat (at least 0.85 as deep as a typical mark);
//   on a steady rhythm also one at least half as deep within 0.08 of a
//   period of where the beat is due, when the interval lasts a whole number
//   of periods (within 0.15 of one). A weak premature beat comes earlier,
//   and on an uneven rhythm weak beats are the rhythm's own: in
//   fibrillation the short intervals may keep time while the long ones
//   last any length.
// - "depth": the deepest swing is more than 1.7 times as deep as the typical
//   mark and has no beat's shape (a movement swing that set the marking's
//   threshold; a strong beat after a pause keeps its shape).
// - "flat": the samples stay equal for a second or more (a lost or clipped
//   signal; a live wave, even in the long diastole of a pause, moves by a
//   count within that time).
// The thresholds lie inside the margins measured on the shared finger
// recordings, on the simulated sensor's runs and on cardiologist-labelled
// finger recordings of sinus rhythm, premature beats and atrial
// fibrillation (docs/signal-quality.md).

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "analysis/beat_marking.h"
#include "analysis/enum_labels.h"

namespace sfigmo {

struct PulsogramRecord;

// Why the marks do not fit the wave, the most telling first.
enum class QualityReason { Dicrotic, Split, Missed, Flat, Depth, Irregular, Rate };

// Each reason as reports name it, and the short explanation the screens show.
inline constexpr std::array<EnumLabel<QualityReason>, 7> kQualityReasonLabels = {{
    {QualityReason::Dicrotic, "dicrotic", "отмечен дикротический зубец"},
    {QualityReason::Split, "split", "лишняя метка внутри удара"},
    {QualityReason::Missed, "missed", "пропущены удары"},
    {QualityReason::Flat, "flat", "сигнал пропадал или обрезан"},
    {QualityReason::Depth, "depth", "одиночный выброс сигнала"},
    {QualityReason::Irregular, "irregular", "волна без устойчивого периода"},
    {QualityReason::Rate, "rate", "метки не совпадают с периодом волны"},
}};
static_assert(LabelsInOrder(kQualityReasonLabels, QualityReason::Dicrotic));

constexpr EnumLabel<QualityReason> Label(QualityReason r) {
  return LabelIn(kQualityReasonLabels, r);
}

struct SignalQuality {
  bool doubtful = false;
  // Every reason found, each once, the most telling first.
  std::vector<QualityReason> reasons;
  // Beats per minute from the wave alone; NaN when the wave gives none.
  double independentPULS = 0.0;
};

SignalQuality AssessSignalQuality(std::span<const std::int32_t> samples, const MarkTable& marks,
                                  double samplePeriod);

// The check as the screens run it on a record's usable samples: a marking
// that the acceptance test rejects is not judged (good, no rate).
SignalQuality AssessRecordQuality(const PulsogramRecord& record, const MarkTable& marks,
                                  double samplePeriod);

// The warning line shown for a doubtful recording (UTF-8).
const char* SignalWarningText();
// The text of the first reason (UTF-8); empty when good.
std::string QualityReasonText(const SignalQuality& quality);

}  // namespace sfigmo
