#include "analysis/indices.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

#include "record/analysis_result_fields.h"
#include "wave_builder.h"

namespace sfigmo {
namespace {

using test::Wave;
using Intervals = std::vector<std::int32_t>;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kUntouched = -7.0;

// Every field set to a value no calculation produces, to see which fields a
// stopped calculation wrote.
AnalysisResults Untouched() {
  AnalysisResults r;
  double* fields = &r.NAGR;
  for (int i = 0; i < 23; ++i) fields[i] = kUntouched;
  return r;
}

TEST(ComputeRhythm, IntervalsWithOnePauseAndOneExtrasystole) {
  AnalysisResults r = Untouched();
  ASSERT_EQ(ComputeRhythm(Intervals{80, 82, 78, 160, 40}, 0.01, r), CalcStop::Completed);
  EXPECT_DOUBLE_EQ(r.MeanInterval, 0.88);
  EXPECT_DOUBLE_EQ(r.MeanIntervalSamples, 88.0);
  EXPECT_NEAR(r.PULS, 68.18, 0.005);
  EXPECT_EQ(r.KOLP, 1.0);
  EXPECT_EQ(r.KOLE, 1.0);
  EXPECT_EQ(r.PauseSamples, 160.0);
  EXPECT_EQ(r.ExtraSamples, 40.0);
  EXPECT_EQ(r.MinNormalInterval, 78.0);
  EXPECT_EQ(r.MaxNormalInterval, 82.0);
  EXPECT_DOUBLE_EQ(r.MeanNormalInterval, 0.8);
  EXPECT_DOUBLE_EQ(r.VRKI, 0.04);
  EXPECT_NEAR(r.IntervalSD, 0.3921, 5e-5);
  EXPECT_NEAR(r.KOVR, 49.02, 0.005);
  EXPECT_DOUBLE_EQ(r.SpreadIndex, 31.25);
  EXPECT_EQ(r.ModeCount, 0.0);
  EXPECT_NEAR(r.AbsDeviationSum, 0.24, 1e-12);
  EXPECT_NEAR(r.AbsDeviationPercent, 10.0, 1e-12);
  EXPECT_EQ(r.IntervalCount, 5.0);
  // The shape stage's fields are not the rhythm stage's business.
  EXPECT_EQ(r.NAGR, kUntouched);
  EXPECT_EQ(r.SPSO, kUntouched);
}

TEST(ComputeRhythm, FormulasAreEvaluatedInTheirWrittenOrder) {
  // Bit-for-bit: a reordered or fused evaluation differs in the last place.
  const Intervals x{83, 79, 91, 77, 88, 80, 85};
  const double T = 0.0103;
  AnalysisResults r;
  ASSERT_EQ(ComputeRhythm(x, T, r), CalcStop::Completed);
  const double mean = 583.0 * T / 7;
  EXPECT_EQ(r.MeanInterval, mean);
  double squares = 0.0;
  for (std::int32_t v : x) squares += (v * T - mean) * (v * T - mean);
  EXPECT_EQ(r.IntervalSD, std::sqrt(squares / 7));
  EXPECT_EQ(r.PULS, 60 / mean);
  EXPECT_EQ(r.MeanNormalInterval, 583.0 * T / 7);
  EXPECT_EQ(r.VRKI, 14 * T);
  EXPECT_EQ(r.KOVR, 100 * r.IntervalSD / r.MeanNormalInterval);
  EXPECT_EQ(r.SpreadIndex, 1 / (r.VRKI * r.MeanNormalInterval));
}

TEST(ComputeRhythm, PausesAndExtrasystolesAreJudgedAgainstTheMeanOfAll) {
  AnalysisResults r;
  // With a mean of exactly 80, 120 and 40 are on the bounds, 119 and 41 inside.
  ASSERT_EQ(ComputeRhythm(Intervals{120, 40, 80, 80}, 0.01, r), CalcStop::Rhythm9);
  EXPECT_EQ(r.MeanIntervalSamples, 80.0);
  EXPECT_EQ(r.KOLP, 1.0);
  EXPECT_EQ(r.KOLE, 1.0);
  EXPECT_EQ(r.PauseSamples, 120.0);
  EXPECT_EQ(r.ExtraSamples, 40.0);
  ASSERT_EQ(ComputeRhythm(Intervals{119, 41, 80, 80}, 0.01, r), CalcStop::Completed);
  EXPECT_EQ(r.KOLP, 0.0);
  EXPECT_EQ(r.KOLE, 0.0);
  EXPECT_EQ(r.MinNormalInterval, 41.0);
  EXPECT_EQ(r.MaxNormalInterval, 119.0);
}

TEST(ComputeRhythm, FirstNormalIntervalCountsForBothExtremes) {
  AnalysisResults r;
  ASSERT_EQ(ComputeRhythm(Intervals{82, 81, 80}, 0.01, r), CalcStop::Completed);
  EXPECT_EQ(r.MinNormalInterval, 80.0);
  EXPECT_EQ(r.MaxNormalInterval, 82.0);
  EXPECT_DOUBLE_EQ(r.VRKI, 0.02);
}

TEST(ComputeRhythm, ModeCountsNormalIntervalsNearTheMean) {
  AnalysisResults r;
  // Mean 0.81 s: 0.80 and 0.81 lie within 0.025 s, 0.84, 0.90 and 0.70 do not.
  ASSERT_EQ(ComputeRhythm(Intervals{80, 81, 84, 90, 70}, 0.01, r), CalcStop::Completed);
  EXPECT_EQ(r.ModeCount, 2.0);
  EXPECT_EQ(r.KOLP + r.KOLE, 0.0);
}

TEST(ComputeRhythm, AllIntervalsEqualStopsAtTheRangeGuard) {
  AnalysisResults r = Untouched();
  ASSERT_EQ(ComputeRhythm(Intervals{80, 80, 80}, 0.01, r), CalcStop::Rhythm9);
  // Written before the guard...
  EXPECT_DOUBLE_EQ(r.MeanInterval, 0.8);
  EXPECT_DOUBLE_EQ(r.PULS, 75.0);
  EXPECT_NEAR(r.IntervalSD, 0.0, 1e-15);
  EXPECT_EQ(r.AbsDeviationSum, 0.0);  // reset at the start of the classification
  EXPECT_DOUBLE_EQ(r.MeanNormalInterval, 0.8);
  EXPECT_EQ(r.ModeCount, 3.0);
  // ...and left as they were after it.
  EXPECT_EQ(r.VRKI, kUntouched);
  EXPECT_EQ(r.KOVR, kUntouched);
  EXPECT_EQ(r.SpreadIndex, kUntouched);
  EXPECT_EQ(r.AbsDeviationPercent, kUntouched);
  EXPECT_EQ(r.IntervalCount, kUntouched);
}

TEST(ComputeRhythm, OnlyPausesAndExtrasystolesStopAtTheNormalCountGuard) {
  AnalysisResults r = Untouched();
  ASSERT_EQ(ComputeRhythm(Intervals{10, 100, 10, 100}, 0.01, r), CalcStop::Rhythm7);
  EXPECT_EQ(r.KOLP, 2.0);
  EXPECT_EQ(r.KOLE, 2.0);
  EXPECT_EQ(r.MinNormalInterval, 99999.0);
  EXPECT_EQ(r.MaxNormalInterval, 0.0);
  EXPECT_EQ(r.MeanNormalInterval, kUntouched);
}

TEST(ComputeRhythm, UnusableInputStopsAtTheFirstGuardWritingNothing) {
  const AnalysisResults before = Untouched();
  for (auto [x, T] : {std::pair{Intervals{}, 0.01},
                      {Intervals{0, 0}, 0.01},
                      {Intervals{5, -5}, 0.01},
                      {Intervals{80, 82}, 0.0},
                      {Intervals{80, 82}, -0.0},
                      {Intervals{80, 82}, kNaN},
                      {Intervals{80, 82}, kInf},
                      {Intervals{80, 82}, -kInf}}) {
    AnalysisResults r = before;
    EXPECT_EQ(ComputeRhythm(x, T, r), CalcStop::Rhythm1) << "T " << T << ", n " << x.size();
    EXPECT_EQ(r, before);
  }
}

TEST(ComputeRhythm, NegativeTimeBaseStopsAtTheSignGuard) {
  AnalysisResults r = Untouched();
  ASSERT_EQ(ComputeRhythm(Intervals{78, 80, 82}, -0.01, r), CalcStop::Rhythm11);
  EXPECT_DOUBLE_EQ(r.VRKI, -0.04);
  EXPECT_EQ(r.KOVR, kUntouched);
}

TEST(ComputeRhythm, TimeBaseSoLargeThatItOverflowsStops) {
  AnalysisResults r;
  EXPECT_EQ(ComputeRhythm(Intervals{78, 80, 82}, 1e307, r), CalcStop::Rhythm11);
}

TEST(ComputeRhythm, ExtremeIntervalsDoNotOverflowTheSum) {
  AnalysisResults r;
  const CalcStop stop = ComputeRhythm(Intervals{INT32_MAX, INT32_MAX, INT32_MAX - 1}, 0.01, r);
  EXPECT_EQ(stop, CalcStop::Completed);
  EXPECT_GT(r.MeanIntervalSamples, 2.1e9);
}

// Marks at the given indices, as a marking would leave them.
MarkTable Marks(std::initializer_list<std::int32_t> indices) {
  MarkTable t;
  for (std::int32_t i : indices) t.Marks.push_back({1, 0, i});
  return t;
}

TEST(ComputeShape, FourWalksOfOneBeat) {
  // Mark at 24: descent back to -8 (3), load to the 0 (2), rise to the first
  // 9 (2), fall to the 4, which is not above h50 = 4 (4.5 to even) (2).
  Wave w(60);
  w.at(20, {-5, -8, -12, -30, -50, -3, 0, 5, 9, 9, 4, 0});
  AnalysisResults r = Untouched();
  ASSERT_EQ(ComputeShape(w.samples(), Marks({5, 24, 40, 50}), 0.01, r), CalcStop::Completed);
  EXPECT_DOUBLE_EQ(r.DescentTime, 0.03);
  EXPECT_DOUBLE_EQ(r.NAGR, 0.02);
  EXPECT_DOUBLE_EQ(r.RiseTime, 0.02);
  EXPECT_DOUBLE_EQ(r.SPSO, 0.02);
  EXPECT_EQ(r.Reserved, 0.0);
  EXPECT_EQ(r.MeanInterval, kUntouched);
}

TEST(ComputeShape, HalfOfThePeakRoundsToEven) {
  // Peak 27: h50 = 14 (13.5), so 15 and then 14 end the fall: count 2.
  // Peak 25: h50 = 12 (12.5), so 13 is still above it: count 2, not 1.
  for (auto [peak, above, atHalf] : {std::tuple{27, 15, 14}, {25, 13, 12}}) {
    Wave w(60);
    w.at(20, {-40, 0, peak, above, atHalf, 0});
    AnalysisResults r;
    ASSERT_EQ(ComputeShape(w.samples(), Marks({5, 20, 40, 50}), 1.0, r), CalcStop::Completed);
    EXPECT_EQ(r.NAGR, 1.0);
    EXPECT_EQ(r.RiseTime, 1.0);
    EXPECT_EQ(r.SPSO, 2.0) << "peak " << peak;
  }
}

TEST(ComputeShape, AveragesOverMarksTwoToMMinusTwo) {
  // Beats of load 2 at 20 and load 4 at 40 are measured; the deep beats at
  // the first and the last two marks would change the mean if they were.
  Wave w(120);
  w.at(5, {-90, -90, -90, -90, -90, -90, -90, -90});
  w.at(20, {-40, -40, 0});
  w.at(40, {-40, -40, -40, -40, 0});
  w.at(60, {-90, -90, -90, -90, -90, -90, -90, -90});
  w.at(80, {-90, -90, -90, -90, -90, -90, -90, -90});
  AnalysisResults r;
  ASSERT_EQ(ComputeShape(w.samples(), Marks({5, 20, 40, 60, 80}), 0.01, r), CalcStop::Completed);
  EXPECT_DOUBLE_EQ(r.NAGR, 3 * 0.01);
}

TEST(ComputeShape, ThreeMarksLeaveNoBeatToMeasure) {
  Wave w(60);
  w.beats(10, 15, 60);
  for (const MarkTable& t : {Marks({10, 25, 40}), Marks({10}), Marks({})}) {
    AnalysisResults r = Untouched();
    EXPECT_EQ(ComputeShape(w.samples(), t, 0.01, r), CalcStop::Shape);
    EXPECT_EQ(r, Untouched());
  }
}

TEST(ComputeShape, WalksStopAtTheEndsOfTheRecording) {
  // Descent runs into sample 1; load never crosses zero before the end.
  Wave w(10, -50);
  AnalysisResults r;
  ASSERT_EQ(ComputeShape(w.samples(), Marks({1, 3, 8, 9}), 1.0, r), CalcStop::Completed);
  EXPECT_EQ(r.DescentTime, 2.0);
  EXPECT_EQ(r.NAGR, 7.0);
  EXPECT_EQ(r.RiseTime, 0.0);
  EXPECT_EQ(r.SPSO, 0.0);
}

TEST(ComputeShape, MarksFromAnotherRecordingStayInsideThisOne) {
  // Indices cleared to 0 by a new measurement, or past the end of a shorter wave.
  Wave w(30);
  w.beats(10, 10, 60);
  AnalysisResults r;
  EXPECT_EQ(ComputeShape(w.samples(), Marks({0, 0, 0, 0}), 0.01, r), CalcStop::Completed);
  EXPECT_EQ(ComputeShape(w.samples(), Marks({10, 500, -3, 40}), 0.01, r), CalcStop::Completed);
  EXPECT_EQ(ComputeShape({}, Marks({10, 20, 30, 40}), 0.01, r), CalcStop::Shape);
}

TEST(ComputeAll, RhythmThenShapeOnARegularWave) {
  Wave w(1000);
  for (std::size_t k : {30, 110, 192, 270, 352, 430, 512, 590, 672, 750, 832, 910}) w.beat(k, 100);
  const MarkTable t = MarkBeats(w.samples());
  ASSERT_EQ(t.count(), 12);
  AnalysisResults r;
  ASSERT_EQ(ComputeAll(w.samples(), t, 0.01, r), CalcStop::Completed);
  EXPECT_EQ(r.IntervalCount, 11.0);
  EXPECT_EQ(r.KOLP + r.KOLE, 0.0);
  EXPECT_DOUBLE_EQ(r.VRKI, 0.04);
  // The builder's beat -25, -50, -100, -50, 25, 50, 25: three samples below
  // h20 = -20 down to the bottom, zero crossing two after it, peak 50 one
  // further, half of it one after that.
  EXPECT_DOUBLE_EQ(r.DescentTime, 0.03);
  EXPECT_DOUBLE_EQ(r.NAGR, 0.02);
  EXPECT_DOUBLE_EQ(r.RiseTime, 0.01);
  EXPECT_DOUBLE_EQ(r.SPSO, 0.01);
}

TEST(ComputeAll, ThreeMarksCompleteTheRhythmAndStopAtTheShape) {
  Wave w(300);
  w.beat(30, 100).beat(110, 100).beat(192, 100);
  AnalysisResults r = Untouched();
  EXPECT_EQ(ComputeAll(w.samples(), MarkBeats(w.samples()), 0.01, r), CalcStop::Shape);
  EXPECT_EQ(r.IntervalCount, 2.0);
  EXPECT_EQ(r.NAGR, kUntouched);
}

// The command-line report shows a field only when the calculation reached it:
// every field ResultWritten names is written, and every other one is left as
// it was (or cleared for the step that has not yet computed it).
TEST(ResultWritten, AgreesWithWhatEachStopLeavesBehind) {
  using Run = CalcStop (*)(AnalysisResults&);
  const struct {
    CalcStop stop;
    Run run;
  } cases[] = {
      {CalcStop::Rhythm1, [](AnalysisResults& r) { return ComputeRhythm(Intervals{}, 0.01, r); }},
      {CalcStop::Rhythm7,
       [](AnalysisResults& r) {
         return ComputeRhythm(Intervals{10, 100, 10, 100}, 0.01, r);
       }},
      {CalcStop::Rhythm9,
       [](AnalysisResults& r) {
         return ComputeRhythm(Intervals{80, 80, 80}, 0.01, r);
       }},
      {CalcStop::Rhythm11,
       [](AnalysisResults& r) {
         return ComputeRhythm(Intervals{78, 80, 82}, -0.01, r);
       }},
      {CalcStop::Shape,
       [](AnalysisResults& r) {
         Wave w(300);
         w.beat(30, 100).beat(110, 100).beat(192, 100);
         return ComputeAll(w.samples(), MarkBeats(w.samples()), 0.01, r);
       }},
      {CalcStop::Completed,
       [](AnalysisResults& r) {
         Wave w(500);
         for (std::size_t k : {30, 110, 192, 270, 352, 430}) w.beat(k, 100);
         return ComputeAll(w.samples(), MarkBeats(w.samples()), 0.01, r);
       }},
  };
  for (const auto& c : cases) {
    AnalysisResults r = Untouched();
    ASSERT_EQ(c.run(r), c.stop);
    for (const AnalysisResultField& f : kAnalysisResultFields) {
      const double v = r.*f.Member;
      if (ResultWritten(c.stop, f.Member)) {
        EXPECT_NE(v, kUntouched) << f.Name << " at " << Label(c.stop).word;
      } else {
        EXPECT_TRUE(v == kUntouched || v == 0.0) << f.Name << " at " << Label(c.stop).word;
      }
    }
  }
}

TEST(TOSO, IsLoadAndDescentRelativeToTheMeanInterval) {
  EXPECT_DOUBLE_EQ(TOSO(0.09, 0.06, 0.8), 18.75);
  AnalysisResults r;
  r.NAGR = 0.09;
  r.DescentTime = 0.06;
  r.MeanInterval = 0.8;
  EXPECT_EQ(TOSO(r), TOSO(0.09, 0.06, 0.8));
  EXPECT_TRUE(std::isinf(TOSO(0.09, 0.06, 0.0)));
  EXPECT_TRUE(std::isnan(TOSO(0.0, 0.0, 0.0)));
}

}  // namespace
}  // namespace sfigmo
