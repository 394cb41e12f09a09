// The signal-quality check on whole measurement runs: the simulated sensor's
// healthy, premature-beat, pause and deepened-dicrotic pulses, and the shared
// finger recordings replayed window by window, each measured through the
// program's calibration, marking and rhythm stage.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "analysis/rhythm_reading.h"
#include "measured_window.h"

namespace {

using namespace sfigmo::quality;

std::string Describe(const MeasuredWindow& w) {
  std::string s = "PULS " + std::to_string(w.results.PULS) + ", KOLE " +
                  std::to_string(w.results.KOLE) + ", KOLP " + std::to_string(w.results.KOLP) +
                  ", independent " + std::to_string(w.quality.independentPULS) + ", reasons:";
  for (const sfigmo::QualityReason r : w.quality.reasons)
    s += " " + std::string(sfigmo::Label(r).word);
  s += ", marks:";
  for (const sfigmo::BeatMark& m : w.marks.Marks) s += " " + std::to_string(m.Index);
  return s;
}

MeasuredWindow Simulate(sensorsim::SimConfig config) {
  sensorsim::PulseModel model(config);
  return MeasureWindow(model, config, 0.0);
}

// The simulated rhythm disturbances on a wide window (about 12 s, as a
// full-screen run records): never a bad signal. Fibrillation reads
// irregular in seven runs of ten at least (not all: twelve seconds of it can
// look like premature beats), premature beats hardly ever.
TEST(SignalQualityRuns, SimulatedRhythmsAreRhythmFindings) {
  using sensorsim::Rhythm;
  constexpr int kWideOuterWidth = 1210;
  struct Case {
    Rhythm rhythm;
    const char* name;
  };
  for (const Case c :
       {Case{Rhythm::Af, "af"}, Case{Rhythm::Pvc, "pvc"}, Case{Rhythm::Pac, "pac"}}) {
    int irregular = 0;
    constexpr int kSeeds = 10;
    for (std::uint64_t seed = 1; seed <= kSeeds; ++seed) {
      sensorsim::SimConfig config;
      config.rhythm = c.rhythm;
      config.seed = seed;
      sensorsim::PulseModel model(config);
      const MeasuredWindow w = MeasureWindow(model, config, 0.0, kWideOuterWidth);
      SCOPED_TRACE(std::string(c.name) + ", seed " + std::to_string(seed));
      ASSERT_TRUE(w.accepted) << Describe(w);
      EXPECT_FALSE(w.quality.doubtful) << Describe(w);
      irregular += sfigmo::ReadRhythm(w.marks) == sfigmo::RhythmReading::Irregular;
    }
    if (c.rhythm == Rhythm::Af) {
      EXPECT_GE(irregular, kSeeds * 7 / 10) << c.name;
    } else {
      EXPECT_LE(irregular, 1) << c.name;
    }
  }
}

TEST(SignalQualityRuns, HealthySimulationIsNeverFlagged) {
  for (double bpm : {50.0, 60.0, 72.0, 85.0, 100.0}) {
    for (std::uint64_t seed = 1; seed <= 16; ++seed) {
      sensorsim::SimConfig config;
      config.bpm = bpm;
      config.seed = seed;
      const MeasuredWindow w = Simulate(config);
      SCOPED_TRACE("bpm " + std::to_string(bpm) + ", seed " + std::to_string(seed));
      ASSERT_TRUE(w.accepted && w.calculated) << Describe(w);
      EXPECT_FALSE(w.quality.doubtful) << Describe(w);
      EXPECT_NEAR(w.quality.independentPULS, bpm, 5.0) << Describe(w);
    }
  }
}

// Premature beats and pauses anywhere in the recorded half (beats 6 to 17 at
// 72 per minute) are rhythm findings: counted, and never taken for a bad
// signal, so the warning never stands in for "ОБНАРУЖЕНЫ ПЕРЕБОИ".
TEST(SignalQualityRuns, PrematureBeatsAndPausesAreNeverFlagged) {
  for (long beat = 6; beat <= 17; ++beat) {
    for (std::uint64_t seed = 1; seed <= 4; ++seed) {
      for (bool pause : {false, true}) {
        sensorsim::SimConfig config;
        config.seed = seed;
        (pause ? config.pauseAt : config.extrasystoleAt).insert(beat);
        const MeasuredWindow w = Simulate(config);
        SCOPED_TRACE(std::string(pause ? "pause" : "extrasystole") + " at " + std::to_string(beat) +
                     ", seed " + std::to_string(seed));
        ASSERT_TRUE(w.accepted && w.calculated) << Describe(w);
        EXPECT_FALSE(w.quality.doubtful) << Describe(w);
      }
    }
  }
  // Several at once, as a patient with frequent premature beats has them.
  sensorsim::SimConfig config;
  config.extrasystoleAt = {8, 12};
  config.pauseAt = {15};
  const MeasuredWindow w = Simulate(config);
  EXPECT_GT(w.results.KOLE, 0.0) << Describe(w);
  EXPECT_GT(w.results.KOLP, 0.0) << Describe(w);
  EXPECT_FALSE(w.quality.doubtful) << Describe(w);
}

TEST(SignalQualityRuns, DoubleCountedDicroticSwingIsFlaggedWithTheTrueRate) {
  for (double depth : {7.0, 8.0, 12.0}) {
    for (std::uint64_t seed = 1; seed <= 8; ++seed) {
      sensorsim::SimConfig config;
      config.dicroticDepth = depth;
      config.seed = seed;
      const MeasuredWindow w = Simulate(config);
      SCOPED_TRACE("depth " + std::to_string(depth) + ", seed " + std::to_string(seed));
      ASSERT_TRUE(w.accepted && w.calculated) << Describe(w);
      ASSERT_GT(w.results.PULS, config.bpm + 5.0) << "the marking should double-count";
      EXPECT_TRUE(w.quality.doubtful) << Describe(w);
      EXPECT_NEAR(w.quality.independentPULS, config.bpm, 5.0) << Describe(w);
    }
  }
}

// Every accepted window, one per second of each recording, whose PULS lies
// more than 5 from the rate of the crests counted on the recording itself is
// flagged; and most windows that read right stay unflagged.
TEST(SignalQualityRuns, SharedRecordingsWrongWindowsAreFlagged) {
  const std::string dir = SFIGMO_PPG_DATA_DIR;
  int near = 0, nearUnflagged = 0;
  for (const std::string file : {"/finger-ppg-100hz.csv", "/finger-ppg-timed.csv"}) {
    for (const ReplayedWindow& r : ReplayRecording(dir + file, 100.0)) {
      const MeasuredWindow& w = r.measured;
      if (!w.accepted || !w.calculated || r.trueRate == 0.0) continue;
      SCOPED_TRACE(file + " from " + std::to_string(w.startSeconds) + " s, true rate " +
                   std::to_string(r.trueRate));
      if (std::fabs(w.results.PULS - r.trueRate) > 5.0) {
        EXPECT_TRUE(w.quality.doubtful) << Describe(w);
      } else {
        ++near;
        nearUnflagged += !w.quality.doubtful;
      }
    }
  }
  EXPECT_GE(near, 30);
  EXPECT_GE(nearUnflagged, near * 6 / 10);
}

TEST(SignalQualityRuns, ReferenceCountFindsTheKnownRate) {
  sensorsim::ReplaySource fine(std::string(SFIGMO_PPG_DATA_DIR) + "/finger-ppg-100hz.csv", 100.0,
                               200.0);
  const std::vector<double> crests = ReferenceBeats(fine, fine.Seconds());
  EXPECT_NEAR(ReferenceRate(crests, 0.0, fine.Seconds()), 58.8, 0.5);
}

}  // namespace
