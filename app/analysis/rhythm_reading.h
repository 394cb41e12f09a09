#pragma once
// A reading of the rhythm beside the conclusion's verdicts: regular (sinus
// rhythm, sinus arrhythmia included), ectopic (premature beats or pauses on
// an otherwise regular rhythm) or irregular (irregularly irregular, as in
// atrial fibrillation). Computed afresh from the marks like the
// signal-quality check, never stored. Pure functions; any thread.
//
// Premature beats and pauses are taken out first: an interval more than
// 12 % shorter than the median followed by a pause of at least 0.9 medians
// (compensatory or not), both of them, and an interval over 1.6 medians (a
// pause or a missed beat). A short interval without a pause after it stays:
// in fibrillation short ones follow each other. Two measures then judge:
// - the mean successive difference of the rest: the change from each interval
//   to the next where neither was taken out, as a share of the median. A
//   sinus rhythm keeps it under about 5 %, breathing included; premature
//   beats leave it there.
// - the share of all intervals that differ by over 5 % of the median from
//   both neighbours. Between premature beats the normal intervals run alike;
//   in fibrillation nearly every interval differs from the next.
// Over 10 % and over half, on at least 8 intervals, read irregular; a shorter
// recording cannot tell and reads regular or ectopic as its intervals show.
// Each measure alone overlaps heavily between fibrillation and frequent
// premature beats over ten seconds; together they find more fibrillation
// at the same share of premature beats read irregular. The figures and what
// a recording of 8 to 15 s can tell are in docs/signal-quality.md. The
// marks' depths (beat strength) were measured too and did not separate the
// rhythms further.

#include <array>
#include <span>
#include <string>

#include "analysis/beat_marking.h"
#include "analysis/enum_labels.h"

namespace sfigmo {

enum class RhythmReading { Regular, Ectopic, Irregular };

inline constexpr std::array<EnumLabel<RhythmReading>, 3> kRhythmReadingLabels = {{
    {RhythmReading::Regular, "regular", "ритм регулярный"},
    {RhythmReading::Ectopic, "ectopic", "преждевременные удары или паузы на регулярном ритме"},
    {RhythmReading::Irregular, "irregular", "ритм нерегулярный"},
}};
static_assert(LabelsInOrder(kRhythmReadingLabels, RhythmReading::Regular));

constexpr EnumLabel<RhythmReading> Label(RhythmReading r) {
  return LabelIn(kRhythmReadingLabels, r);
}

// What the reading is made of.
struct RhythmFeatures {
  int intervals = 0;
  int premature = 0;    // intervals more than 12 % short of the median, a pause after
  int pauses = 0;       // intervals over 1.6 medians
  double spread = 0.0;  // mean successive difference of the rest, of the median
  double unlike = 0.0;  // share of intervals over 5 % of the median from both neighbours
};

// From interval lengths in any one unit; zero or negative lengths are not
// intervals and make the reading regular.
RhythmFeatures RhythmFeaturesOf(std::span<const double> intervals);
RhythmReading ReadIntervals(std::span<const double> intervals);

// From the marks of an accepted recording.
RhythmReading ReadRhythm(const MarkTable& marks);

// The conclusion's line for an irregular reading (UTF-8), and the same said
// in the two short lines the conclusion screen has room for beside the
// advice: the alarm with what to do, then why.
const char* IrregularRhythmText();
inline constexpr std::array<const char*, 2> kIrregularRhythmLines = {
    "РИТМ НЕРЕГУЛЯРНЫЙ - ПОКАЖИТЕ ЗАПИСЬ", "врачу: возможна мерцательная аритмия"};

struct PulsogramRecord;
struct SignalQuality;

// Whether the conclusion shows the irregular line: the marks are accepted,
// the signal is good (a doubtful one asks for a new measurement instead) and
// they read irregular.
bool ShowsIrregularRhythm(const MarkTable& marks, const SignalQuality& quality,
                          double samplePeriod);

}  // namespace sfigmo
