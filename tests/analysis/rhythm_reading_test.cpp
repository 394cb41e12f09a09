// The rhythm reading from hand-made interval tables: each kind of rhythm,
// the shortest recording that may read irregular, and hostile tables.

#include "analysis/rhythm_reading.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace sfigmo {
namespace {

struct Case {
  const char* name;
  std::vector<double> intervals;  // ms
  RhythmReading expected;
};

TEST(RhythmReading, EachRhythmReadsAsItsIntervalsShow) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Case cases[] = {
      {"steady", {800, 810, 790, 800, 805, 795, 800, 810, 800}, RhythmReading::Regular},
      {"sinus arrhythmia: breathing swings the rate slowly",
       {760, 790, 830, 860, 850, 810, 770, 750, 780, 820, 850},
       RhythmReading::Regular},
      {"premature ventricular beat and a full compensatory pause",
       {800, 800, 810, 420, 1180, 800, 790, 800, 800},
       RhythmReading::Ectopic},
      {"premature atrial beats, the pause no longer than one interval",
       {800, 790, 520, 880, 800, 810, 500, 870, 800, 800},
       RhythmReading::Ectopic},
      {"bigeminy keeps time between its premature beats",
       {800, 450, 1150, 450, 1150, 460, 1140, 450, 1150, 800},
       RhythmReading::Ectopic},
      {"a pause", {800, 800, 1650, 800, 810, 800, 790, 800}, RhythmReading::Ectopic},
      {"irregularly irregular",
       {780, 900, 820, 960, 760, 870, 990, 800, 930, 850},
       RhythmReading::Irregular},
      {"irregularly irregular within 12 % of the median",
       {800, 880, 720, 870, 730, 860, 740, 880, 720},
       RhythmReading::Irregular},
      {"fibrillation whose short intervals each come before a longer one",
       {800, 900, 820, 730, 850, 760, 880, 790, 700, 840},
       RhythmReading::Irregular},
      {"atrial couplets: uneven, yet the normal intervals run alike",
       {800, 560, 560, 1000, 800, 800, 560, 560, 1000, 800, 800},
       RhythmReading::Ectopic},
      {"alternating by a little more than steady beats do",
       {800, 860, 800, 860, 800, 860, 800, 860, 800, 860},
       RhythmReading::Regular},
      {"seven uneven intervals cannot tell",
       {620, 940, 710, 1050, 560, 830, 1010},
       RhythmReading::Ectopic},
      {"seven steady ones", {800, 800, 800, 800, 800, 800, 800}, RhythmReading::Regular},
      {"none", {}, RhythmReading::Regular},
      {"one", {800}, RhythmReading::Regular},
      {"zero and negative lengths",
       {800, 0, -5, 900, 620, 940, 710, 1050, 560},
       RhythmReading::Regular},
      {"not a number", {800, nan, 900, 620, 940, 710, 1050, 560, 830}, RhythmReading::Regular},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Label(ReadIntervals(c.intervals)).word, Label(c.expected).word) << c.name;
  }
}

TEST(RhythmReading, FromMarksAndTheIrregularLine) {
  MarkTable marks;
  std::int32_t at = 20;
  for (const std::int32_t gap : {40, 46, 41, 48, 39, 45, 50, 42, 47, 40, 0}) {
    marks.Marks.push_back({1, -80, at});
    at += gap;
  }
  EXPECT_EQ(ReadRhythm(marks), RhythmReading::Irregular);
  marks.Marks.resize(5);
  EXPECT_NE(ReadRhythm(marks), RhythmReading::Irregular);
  EXPECT_EQ(ReadRhythm(MarkTable{}), RhythmReading::Regular);
  EXPECT_EQ(std::string(IrregularRhythmText()),
            "РИТМ НЕРЕГУЛЯРНЫЙ - ВОЗМОЖНА МЕРЦАТЕЛЬНАЯ АРИТМИЯ. ПОКАЖИТЕ ЗАПИСЬ ВРАЧУ");
}

}  // namespace
}  // namespace sfigmo
