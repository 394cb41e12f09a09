#include "analysis/beat_marking.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <random>
#include <utility>
#include <vector>

#include "wave_builder.h"

namespace sfigmo {
namespace {

using test::Wave;

std::vector<std::int32_t> CentredIndices(const MarkTable& t) {
  std::vector<std::int32_t> out;
  for (const BeatMark& m : t.Marks) out.push_back(m.Index);
  return out;
}

TEST(MarkBeats, FlatRecordingHasOnlyThePlaceholderAndIsRejected) {
  const MarkTable t = MarkBeats(Wave(500).samples());
  EXPECT_EQ(t.MarkMin, 0);
  EXPECT_EQ(t.MarkThreshold, 0);
  ASSERT_EQ(t.count(), 1);
  EXPECT_EQ(t.Marks[0].Index, 499);  // N - 2, centred on the flat tail like any entry
  EXPECT_EQ(t.Marks[0].Marked, 1);
  EXPECT_EQ(AcceptMarks(t, 0.01), Rejection::Beats);
}

TEST(MarkBeats, ThresholdLiesHalfWayToZeroWithHalvesToEven) {
  for (auto [min, threshold] : {std::pair{-40, -20}, {-25, -13}, {-27, -13}, {-1, -1}, {0, 0}}) {
    Wave w(60);
    w.at(30, {min});
    const MarkTable t = MarkBeats(w.samples());
    EXPECT_EQ(t.MarkMin, min);
    EXPECT_EQ(t.MarkThreshold, threshold) << "MarkMin " << min;
  }
}

TEST(MarkBeats, MinimumIgnoresTheFirstNineSamplesAndShortRecordings) {
  Wave w(60);
  w.at(9, {-500}).at(10, {-30});
  EXPECT_EQ(MarkBeats(w.samples()).MarkMin, -30);

  const MarkTable tiny = MarkBeats(Wave(9, -100).samples());
  EXPECT_EQ(tiny.MarkMin, 9999);
  ASSERT_EQ(tiny.count(), 1);
  EXPECT_EQ(tiny.Marks[0].Index, 10);
  EXPECT_EQ(MarkBeats({}).count(), 1);
}

TEST(MarkBeats, NoMarkInRecordingsShorterThanThirteenSamples) {
  Wave twelve(12);
  twelve.at(10, {-10, -50, 0});  // a perfect bottom at 11, but S[12] is the last sample
  EXPECT_EQ(MarkBeats(twelve.samples()).count(), 1);

  Wave thirteen(13);
  thirteen.at(10, {-10, -50, 0});
  const MarkTable t = MarkBeats(thirteen.samples());
  ASSERT_EQ(t.count(), 1);
  EXPECT_EQ(t.Marks[0].Index, 11);
  EXPECT_EQ(t.Marks[0].Value, -50);
}

TEST(MarkBeats, CandidateNeedsStrictDropAndNoRiseAfter) {
  Wave w(80);
  w.at(20, {-40, -40, -10});  // second sample of the floor is not below its predecessor
  w.at(40, {-10, -45, -50});  // -45 is above its successor: only -50 is a candidate
  w.at(60, {-10, -19});       // above the threshold (-25)
  const MarkTable t = MarkBeats(w.samples());
  EXPECT_EQ(t.MarkThreshold, -25);
  // 20 is a flat run of 2, centred to 21.
  EXPECT_EQ(CentredIndices(t), (std::vector<std::int32_t>{21, 42}));
}

TEST(MarkBeats, CandidatesCloserThanElevenSamplesYieldOneMark) {
  Wave tenApart(60);
  tenApart.at(20, {-40}).at(30, {-60});
  EXPECT_EQ(CentredIndices(MarkBeats(tenApart.samples())), (std::vector<std::int32_t>{20}));

  Wave elevenApart(60);
  elevenApart.at(20, {-40}).at(31, {-60});
  EXPECT_EQ(CentredIndices(MarkBeats(elevenApart.samples())), (std::vector<std::int32_t>{20, 31}));
}

TEST(MarkBeats, SpacingIsJudgedOnIndicesAsFoundNotCentred) {
  // The first bottom is flat (centred from 20 to 22); a candidate at 31 is
  // 11 after the found index and so still counts.
  Wave w(60);
  w.at(20, {-40, -40, -40, -40}).at(31, {-50});
  EXPECT_EQ(CentredIndices(MarkBeats(w.samples())), (std::vector<std::int32_t>{22, 31}));
}

TEST(MarkBeats, FlatBottomsAreCentred) {
  Wave four(60);
  four.at(20, {-40, -40, -40, -40, 0});
  EXPECT_EQ(MarkBeats(four.samples()).Marks[0].Index, 22);

  Wave three(60);
  three.at(20, {-40, -40, -40, 0});
  EXPECT_EQ(MarkBeats(three.samples()).Marks[0].Index, 21);

  // A run that reaches the last sample ends at N + 1.
  Wave tail(30);
  tail.at(27, {-40, -40, -40, -40});
  const MarkTable t = MarkBeats(tail.samples());
  ASSERT_EQ(t.count(), 1);
  EXPECT_EQ(t.Marks[0].Index, 29);  // (27 + 31) div 2
}

TEST(MarkBeats, FirstCandidateOfAClusterWinsOverADeeperOne) {
  // -50, -60, -60, -70, -40 from k = 30: the first -60 wins and is centred
  // onto the second; the deeper -70 right after is dropped.
  Wave w(80);
  w.at(30, {-50, -60, -60, -70, -40});
  const MarkTable t = MarkBeats(w.samples());
  ASSERT_EQ(t.count(), 1);
  EXPECT_EQ(t.Marks[0].Index, 32);
  EXPECT_EQ(t.Marks[0].Value, -60);
  EXPECT_EQ(t.MarkMin, -70);
}

TEST(MarkBeats, LaterMarksMayLieOnTheLastButOneSample) {
  Wave w(40);
  w.at(15, {-50}).at(38, {-10, -50, 0});
  EXPECT_EQ(CentredIndices(MarkBeats(w.samples())), (std::vector<std::int32_t>{15, 39}));
}

TEST(MarkBeats, ExtremeSampleValuesDoNotOverflow) {
  Wave w(100);
  w.at(20, {INT32_MIN, 0}).at(50, {INT32_MIN + 1, INT32_MAX}).at(70, {INT32_MIN});
  const MarkTable t = MarkBeats(w.samples());
  EXPECT_EQ(t.MarkMin, INT32_MIN);
  EXPECT_EQ(t.MarkThreshold, -1073741824);
  EXPECT_EQ(CentredIndices(t), (std::vector<std::int32_t>{20, 50, 70}));
  EXPECT_EQ(AcceptMarks(t, 0.01), Rejection::None);

  Wave top(100, INT32_MAX);
  const MarkTable high = MarkBeats(top.samples());
  EXPECT_EQ(high.MarkThreshold, 1073741823);
  EXPECT_EQ(high.count(), 1);
}

TEST(MarkBeats, TableNeverGrowsPastItsCapacity) {
  Wave w(40000);
  w.beats(20, 12, 100);
  const MarkTable t = MarkBeats(w.samples());
  EXPECT_EQ(t.count(), kMarkTableCapacity);
}

// Samples above the threshold are passed over a block at a time; the marks
// must be those of a look at every sample, wherever the dips fall against
// the blocks and the ends of the recording.
TEST(MarkBeats, MarksAreThoseOfASampleBySampleScan) {
  std::mt19937 rng(11);
  for (const std::size_t n : {12, 13, 14, 15, 16, 17, 19, 23, 31, 32, 33, 47, 64, 65, 200, 10901}) {
    for (int round = 0; round < 8; ++round) {
      std::vector<std::int32_t> s(n);
      for (std::size_t i = 0; i < n; ++i) {
        s[i] = static_cast<std::int32_t>(rng() % 200) - 100;
        if (rng() % 9 == 0) s[i] -= 400;        // a dip below the threshold
        if (i > 0 && s[i] == s[i - 1]) ++s[i];  // no flat bottoms: no centring
      }
      const MarkTable t = MarkBeats(s);
      std::vector<std::int32_t> expected;  // 1-based, as the marks
      for (std::size_t k = 11; k + 1 + expected.empty() <= n; ++k) {
        const bool dip = s[k - 1] < t.MarkThreshold && s[k - 1] < s[k - 2] && s[k - 1] <= s[k];
        if (dip && (expected.empty() || std::cmp_greater(k, expected.back() + 10)))
          expected.push_back(static_cast<std::int32_t>(k));
      }
      if (expected.empty()) continue;  // the placeholder has tests of its own
      EXPECT_EQ(CentredIndices(t), expected) << n << " samples, round " << round;
    }
  }
}

TEST(CardioIntervals, AreDistancesBetweenCentredMarks) {
  Wave w(200);
  w.at(20, {-40, -40, 0}).at(100, {-40}).at(182, {-40});
  const MarkTable t = MarkBeats(w.samples());
  EXPECT_EQ(CardioIntervals(t), (std::vector<std::int32_t>{79, 82}));
  EXPECT_TRUE(CardioIntervals(MarkBeats(Wave(100).samples())).empty());
}

class AcceptMarksTest : public ::testing::Test {
 protected:
  // `count` regular beats, 80 samples apart, the first at `first`.
  static MarkTable Regular(int count, std::size_t first = 50, std::int32_t depth = 100) {
    Wave w(first + 80 * static_cast<std::size_t>(count) + 10);
    for (int j = 0; j < count; ++j) w.beat(first + 80 * static_cast<std::size_t>(j), depth);
    return MarkBeats(w.samples());
  }
};

TEST_F(AcceptMarksTest, RegularRecordingIsAccepted) {
  const MarkTable t = Regular(20);
  EXPECT_EQ(t.count(), 20);
  EXPECT_EQ(AcceptMarks(t, 0.01), Rejection::None);
}

TEST_F(AcceptMarksTest, NeedsThreeBeats) {
  EXPECT_EQ(AcceptMarks(Regular(2), 0.01), Rejection::Beats);
  EXPECT_EQ(AcceptMarks(Regular(3), 0.01), Rejection::None);
}

TEST_F(AcceptMarksTest, FirstBeatAtTwoSecondsPassesLaterIsRejected) {
  const MarkTable at200 = Regular(10, 200);
  ASSERT_EQ(at200.Marks[0].Index, 200);
  ASSERT_EQ(200 * 0.01, 2.0);
  EXPECT_EQ(AcceptMarks(at200, 0.01), Rejection::None);
  EXPECT_EQ(AcceptMarks(Regular(10, 201), 0.01), Rejection::FirstBeat);
  EXPECT_EQ(AcceptMarks(at200, 0.0100001), Rejection::FirstBeat);
}

TEST_F(AcceptMarksTest, AmplitudeOfTwentyIsTheLeastAccepted) {
  EXPECT_EQ(AcceptMarks(Regular(10, 50, 19), 0.01), Rejection::Amplitude);
  EXPECT_EQ(AcceptMarks(Regular(10, 50, 20), 0.01), Rejection::None);
}

TEST_F(AcceptMarksTest, HundredBeatsAreTheMost) {
  EXPECT_EQ(AcceptMarks(Regular(100), 0.001), Rejection::None);
  EXPECT_EQ(AcceptMarks(Regular(101), 0.001), Rejection::TooMany);
}

TEST_F(AcceptMarksTest, FirstFailingTestIsReported) {
  // Two shallow beats late in the recording fail all but the last test.
  EXPECT_EQ(AcceptMarks(Regular(2, 300, 10), 0.01), Rejection::Beats);
  EXPECT_EQ(AcceptMarks(Regular(3, 300, 10), 0.01), Rejection::FirstBeat);
  EXPECT_EQ(AcceptMarks(Regular(3, 100, 10), 0.01), Rejection::Amplitude);
}

TEST_F(AcceptMarksTest, DamagedPeriodIsHandled) {
  const MarkTable t = Regular(10);
  EXPECT_EQ(AcceptMarks(t, std::numeric_limits<double>::quiet_NaN()), Rejection::FirstBeat);
  EXPECT_EQ(AcceptMarks(t, std::numeric_limits<double>::infinity()), Rejection::FirstBeat);
  // Zero and negative periods pass here; the calculation's guards stop them.
  EXPECT_EQ(AcceptMarks(t, 0.0), Rejection::None);
  EXPECT_EQ(AcceptMarks(t, -0.01), Rejection::None);
}

}  // namespace
}  // namespace sfigmo
