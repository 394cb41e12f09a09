// The signal-quality check on built waves: each sign of a recording that
// cannot be trusted on its own, a clean one left alone, and hostile input.

#include "analysis/signal_quality.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <string_view>

#include "analysis/beat_marking.h"
#include "analysis/record_judgement.h"
#include "record/pulsogram_record.h"
#include "wave_builder.h"

namespace sfigmo {
namespace {

using test::Wave;

constexpr double kPeriod = 0.02;  // 50 samples per second

// A beat as the differentiated finger wave shows it: a deep negative swing
// at the upstroke, a positive lobe as the crest falls, and a smaller
// negative swing `dicrotic` deep `notchDelay` samples later.
Wave& FingerBeat(Wave& w, std::size_t k, std::int32_t depth, std::int32_t dicrotic = 10,
                 std::size_t notchDelay = 16) {
  w.at(k - 3, {-depth / 5, -depth / 2, -depth * 4 / 5, -depth, -depth * 3 / 5, -depth / 5,
               depth / 5, depth / 3, depth / 3, depth / 4, depth / 6, depth / 10});
  const std::size_t n = k + notchDelay;
  w.at(n - 2, {-dicrotic / 3, -dicrotic * 2 / 3, -dicrotic, -dicrotic * 2 / 3, -dicrotic / 3});
  return w;
}

// Beats at the given sample indices, each of depth 80.
// A live wave never rests at one value: a diastolic ripple of a count.
Wave Ripple(std::size_t n) {
  Wave w(n);
  for (std::size_t k = 1; k <= n; ++k) w.at(k, {static_cast<std::int32_t>(k * 7 % 3) - 1});
  return w;
}

Wave FingerWave(std::size_t n, const std::vector<std::size_t>& at, std::int32_t dicrotic = 10) {
  Wave w = Ripple(n);
  for (std::size_t k : at) {
    if (k + 20 <= n) FingerBeat(w, k, 80, dicrotic);
  }
  return w;
}

std::vector<std::size_t> Every(std::size_t first, std::size_t spacing, std::size_t n) {
  std::vector<std::size_t> at;
  for (std::size_t k = first; k + 20 <= n; k += spacing) at.push_back(k);
  return at;
}

SignalQuality Assess(const std::vector<std::int32_t>& s) {
  return AssessSignalQuality(s, MarkBeats(s), kPeriod);
}

std::string Reasons(const SignalQuality& q) {
  std::string s = std::to_string(q.independentPULS);
  for (const QualityReason r : q.reasons) s += " " + std::string(Label(r).word);
  return s;
}

bool Has(const SignalQuality& q, std::string_view reason) {
  return std::any_of(q.reasons.begin(), q.reasons.end(),
                     [reason](QualityReason r) { return Label(r).word == reason; });
}

TEST(SignalQuality, RegularBeatsAreGoodWithTheirRate) {
  const SignalQuality q = Assess(FingerWave(316, Every(20, 50, 316)));
  EXPECT_FALSE(q.doubtful);
  EXPECT_TRUE(q.reasons.empty());
  EXPECT_NEAR(q.independentPULS, 60.0, 1.0);
  EXPECT_EQ(QualityReasonText(q), "");
}

TEST(SignalQuality, DicroticSwingMarkedOnEveryBeatIsFlagged) {
  // The dicrotic swing as deep as 3/4 of the upstroke passes the marking's
  // half-way threshold: two marks per beat.
  const std::vector<std::int32_t> s = FingerWave(316, Every(20, 50, 316), 60).samples();
  ASSERT_GT(MarkBeats(s).count(), 10);
  const SignalQuality q = Assess(s);
  EXPECT_TRUE(q.doubtful);
  EXPECT_TRUE(Has(q, "dicrotic"));
  EXPECT_NEAR(q.independentPULS, 60.0, 2.0);
  EXPECT_EQ(QualityReasonText(q).empty(), false);
}

// One extra swing inside one beat (movement), not repeated by the others.
TEST(SignalQuality, ExtraMarkInsideOneBeatIsFlagged) {
  Wave w = FingerWave(316, Every(20, 50, 316));
  w.at(134, {-20, -50, -70, -40, -10});  // 22 samples after the beat at 120
  const SignalQuality q = Assess(w);
  EXPECT_TRUE(Has(q, "split"));
}

TEST(SignalQuality, BeatTooShallowForTheThresholdIsMissed) {
  // Every other beat is shallower; a movement swing lifts the marking's
  // threshold between the two depths, so those beats go unmarked.
  Wave w = Ripple(316);
  for (std::size_t k : Every(20, 50, 316)) FingerBeat(w, k, (k / 50) % 2 ? 90 : 60);
  w.at(146, {-40, -100, -150, -100, -40});
  const SignalQuality q = Assess(w);
  EXPECT_TRUE(Has(q, "missed")) << Reasons(q);
  EXPECT_NEAR(q.independentPULS, 60.0, 2.0);
}

TEST(SignalQuality, PrematureBeatWithCompensatoryPauseIsNotFlagged) {
  // Beats 50 apart; one comes 21 early and the next keeps the old rhythm.
  const SignalQuality q = Assess(FingerWave(316, {20, 70, 120, 141, 220, 270}));
  EXPECT_FALSE(q.doubtful) << Reasons(q);
}

// Beats of one shape at uneven times are a rhythm finding, whatever the
// wave's period says; a weak premature pulse left unmarked is no missed beat.
TEST(SignalQuality, ArrhythmiasAreNotFlagged) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::size_t, std::int32_t>> beats;  // sample, depth
  };
  const Case cases[] = {
      {"irregularly irregular",
       {{20, 80}, {51, 80}, {103, 80}, {138, 80}, {168, 80}, {216, 80}, {260, 80}, {289, 80}}},
      {"irregular and fast",
       {{12, 80},
        {40, 80},
        {63, 80},
        {101, 80},
        {125, 80},
        {160, 80},
        {181, 80},
        {220, 80},
        {246, 80},
        {270, 80},
        {294, 80}}},
      {"weak premature pulse under the threshold a strong one after the pause sets",
       {{20, 80}, {70, 80}, {120, 80}, {162, 45}, {220, 100}, {270, 80}}},
      {"bigeminy: every other interval a compensatory pause, the premature beats weaker",
       {{14, 80},
        {50, 55},
        {118, 80},
        {154, 55},
        {222, 80},
        {258, 55},
        {326, 80},
        {362, 55},
        {430, 80}}},
      {"uneven, where two short intervals add up to the wave's period",
       {{14, 80},
        {73, 80},
        {126, 80},
        {160, 80},
        {185, 80},
        {234, 80},
        {276, 80},
        {332, 80},
        {387, 80},
        {443, 80}}},
      {"weak beats left unmarked inside intervals of no whole number of periods",
       {{14, 80},
        {50, 80},
        {86, 80},
        {122, 80},
        {152, 45},
        {182, 80},
        {218, 100},
        {254, 80},
        {284, 45},
        {314, 80},
        {350, 80},
        {386, 80},
        {422, 80}}},
  };
  for (const Case& c : cases) {
    Wave w = Ripple(c.beats.back().first + 40);
    for (const auto& [k, depth] : c.beats) FingerBeat(w, k, depth);
    const SignalQuality q = Assess(w.samples());
    EXPECT_FALSE(q.doubtful) << c.name << ": " << Reasons(q);
  }
}

TEST(SignalQuality, PauseWithoutASwingIsNotFlagged) {
  const SignalQuality q = Assess(FingerWave(316, {20, 70, 120, 220, 270}));
  EXPECT_FALSE(q.doubtful) << Reasons(q);
}

TEST(SignalQuality, FlatStretchIsFlagged) {
  Wave w = FingerWave(316, Every(20, 50, 316));
  for (std::size_t k = 200; k <= 250; ++k) w.at(k, {37});  // a second stuck at one value
  EXPECT_TRUE(Has(Assess(w), "flat"));
}

TEST(SignalQuality, NoiseHasNoIndependentRate) {
  std::mt19937 rng(5);
  std::vector<std::int32_t> s(316);
  for (auto& v : s) v = static_cast<std::int32_t>(rng() % 81) - 40;
  const SignalQuality q = Assess(s);
  EXPECT_TRUE(std::isnan(q.independentPULS));
  EXPECT_TRUE(Has(q, "irregular"));
}

TEST(SignalQuality, ReasonTextsAndWarning) {
  EXPECT_STREQ(SignalWarningText(), "СИГНАЛ НЕУСТОЙЧИВ - ПОВТОРИТЕ ИЗМЕРЕНИЕ");
  const struct {
    const char* reason;
    const char* text;
  } table[] = {
      {"irregular", "волна без устойчивого периода"},
      {"rate", "метки не совпадают с периодом волны"},
      {"dicrotic", "отмечен дикротический зубец"},
      {"split", "лишняя метка внутри удара"},
      {"missed", "пропущены удары"},
      {"depth", "одиночный выброс сигнала"},
      {"flat", "сигнал пропадал или обрезан"},
  };
  for (const auto& row : table) {
    SignalQuality q;
    q.doubtful = true;
    q.reasons = {ValueOfWord(kQualityReasonLabels, row.reason).value(), QualityReason::Flat};
    EXPECT_EQ(QualityReasonText(q), row.text) << row.reason;
  }
}

// A stored record's report line: the warning and its reason when doubtful,
// nothing when good or when the acceptance test rejects the recording.
TEST(SignalQuality, RecordWarningLineForAReport) {
  auto record = std::make_unique<PulsogramRecord>();
  const auto RecordSignalWarning = [](const PulsogramRecord& r) {
    return WarningLine(JudgeRecord(r));
  };
  record->SamplePeriod = kPeriod;
  auto fill = [&](const std::vector<std::int32_t>& s) {
    record->SampleCount = static_cast<std::uint16_t>(s.size());
    std::copy(s.begin(), s.end(), record->Samples);
  };
  fill(FingerWave(316, Every(20, 50, 316), 60).samples());
  EXPECT_EQ(RecordSignalWarning(*record),
            "СИГНАЛ НЕУСТОЙЧИВ - ПОВТОРИТЕ ИЗМЕРЕНИЕ (отмечен дикротический зубец)");
  fill(FingerWave(316, Every(20, 50, 316)).samples());
  EXPECT_EQ(RecordSignalWarning(*record), "");
  fill(std::vector<std::int32_t>(316, 0));  // rejected
  EXPECT_EQ(RecordSignalWarning(*record), "");
  record->SampleCount = 65535;  // damaged count: only the record's room is read
  EXPECT_EQ(RecordSignalWarning(*record), "");
}

// Whatever the samples, period and table (one left from another recording),
// the check answers without crashing; under the sanitizers, without
// undefined behaviour.
TEST(SignalQuality, HostileInputIsAnswered) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  constexpr double kInf = std::numeric_limits<double>::infinity();
  std::mt19937 rng(11);
  const std::vector<std::int32_t> beats = FingerWave(316, Every(20, 50, 316)).samples();
  const MarkTable table = MarkBeats(beats);
  MarkTable junk;
  junk.Marks = {{1, -50, -7}, {1, -50, INT_MAX}, {1, 3, 40}, {1, -9, INT_MIN}, {1, -9, 39}};
  junk.MarkMin = INT_MIN;
  for (double period : {kPeriod, 0.0, -0.02, 1e-300, 1e-9, 1e300, kNaN, kInf}) {
    for (int round = 0; round < 4; ++round) {
      std::vector<std::int32_t> s(rng() % 2000);
      for (auto& v : s)
        v = round == 0 ? static_cast<std::int32_t>(rng()) : (rng() & 1 ? INT32_MIN : INT32_MAX);
      if (round == 2) s = beats;
      if (round == 3) s.clear();
      for (const MarkTable* t : {&table, static_cast<const MarkTable*>(&junk)}) {
        const SignalQuality q = AssessSignalQuality(s, *t, period);
        EXPECT_EQ(q.doubtful, !q.reasons.empty());
        EXPECT_TRUE(std::isnan(q.independentPULS) || q.independentPULS > 0.0);
      }
    }
  }
}

}  // namespace
}  // namespace sfigmo
