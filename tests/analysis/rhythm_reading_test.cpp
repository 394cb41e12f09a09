// The rhythm reading from hand-made interval tables: each kind of rhythm,
// the shortest recording that may read irregular, and hostile tables.

#include "analysis/rhythm_reading.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "pulse_model.h"

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

// The two measures the reading is judged by, each near its threshold.
TEST(RhythmReading, FeaturesOfIntervals) {
  struct FeatureCase {
    const char* name;
    std::vector<double> intervals;
    double spread;
    double unlike;
  };
  const FeatureCase cases[] = {
      {"steady, within 5 % of the median: all alike", {800, 840, 800, 760, 800, 840}, 0.05, 0.0},
      {"one interval unlike both neighbours", {800, 800, 900, 800, 800}, 0.0625, 0.2},
      {"a premature pair taken out of the spread", {800, 800, 600, 1000, 800, 800}, 0.0, 1.0 / 3},
  };
  for (const FeatureCase& c : cases) {
    const RhythmFeatures f = RhythmFeaturesOf(c.intervals);
    EXPECT_NEAR(f.spread, c.spread, 1e-9) << c.name;
    EXPECT_NEAR(f.unlike, c.unlike, 1e-9) << c.name;
  }
}

// The simulated sensor's rhythms, their beats as it schedules them over the
// twelve seconds a wide window records: how often each reads irregular.
TEST(RhythmReading, SimulatedRhythms) {
  using sensorsim::Rhythm;
  struct SimCase {
    const char* name;
    Rhythm rhythm;
    double bpm;
    int leastIrregular;  // of kSeeds
    int mostIrregular;
  };
  constexpr int kSeeds = 40;
  const SimCase cases[] = {
      {"sinus at 60", Rhythm::Sinus, 60.0, 0, 0},
      {"sinus at 90", Rhythm::Sinus, 90.0, 0, 0},
      {"fibrillation at 70", Rhythm::Af, 70.0, 30, kSeeds},
      {"fibrillation at 100", Rhythm::Af, 100.0, 30, kSeeds},
      {"premature ventricular beats", Rhythm::Pvc, 72.0, 0, 2},
      {"premature atrial beats", Rhythm::Pac, 72.0, 0, 2},
  };
  for (const SimCase& c : cases) {
    int irregular = 0;
    for (int seed = 1; seed <= kSeeds; ++seed) {
      sensorsim::SimConfig config;
      config.rhythm = c.rhythm;
      config.bpm = c.bpm;
      config.seed = static_cast<std::uint64_t>(seed);
      sensorsim::PulseModel model(config);
      for (int sample = 0; sample < 12 * 50; ++sample) model.NextLevel();
      const std::vector<double>& onsets = model.BeatOnsets();
      std::vector<double> intervals;
      for (std::size_t i = 1; i < onsets.size(); ++i)
        intervals.push_back(onsets[i] - onsets[i - 1]);
      irregular += ReadIntervals(intervals) == RhythmReading::Irregular;
    }
    EXPECT_GE(irregular, c.leastIrregular) << c.name;
    EXPECT_LE(irregular, c.mostIrregular) << c.name;
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
