// Golden files: pulsograms derived from two real finger-sensor recordings,
// and everything the analysis makes of them, one value per line.
//
// To regenerate after a deliberate change of the analysis, run
//   SFIGMO_REGENERATE_GOLDEN=1 build-x/bin/test-analysis --gtest_filter='Golden*'
// It rewrites tests/data/golden/*.golden, and the *.samples files too when the
// shared recordings are present; review the diff before committing it.
//
// A .samples file is the pulsogram as a measurement run would store it: the
// raw light level inverted (systole becomes a falling swing), differentiated
// over five samples as the run's moving sum does, scaled by the gain that
// brings the largest rise to 75 and divided by 50 with halves to even.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/beat_marking.h"
#include "analysis/conclusion_rules.h"
#include "analysis/indices.h"
#include "common/format_general.h"
#include "record/analysis_result_fields.h"

namespace sfigmo {
namespace {

const std::string kGoldenDir = std::string(SFIGMO_TEST_DATA_DIR) + "/golden/";
const std::string kSharedDir = std::string(SFIGMO_PPG_DATA_DIR) + "/";

bool Regenerating() { return std::getenv("SFIGMO_REGENERATE_GOLDEN") != nullptr; }

struct Pulsogram {
  double period = 0.0;
  std::vector<std::int32_t> samples;
};

// ---- deriving a pulsogram from a raw recording (regeneration only) ----

Pulsogram Differentiate(const std::vector<int>& raw, double period, std::size_t limit) {
  std::vector<std::int64_t> light;
  for (int v : raw) light.push_back(20000 - 12 * static_cast<std::int64_t>(v));
  std::vector<std::int64_t> diff;
  for (std::size_t k = 5; k < light.size() && diff.size() < limit; ++k)
    diff.push_back(light[k] - light[k - 5]);
  std::int64_t rise = 1;
  for (std::int64_t d : diff) rise = std::max(rise, d);
  const double gain = std::max(1.0, RoundHalfEven(75.0 * 50 / static_cast<double>(rise)));
  Pulsogram p;
  p.period = period;
  for (std::int64_t d : diff)
    p.samples.push_back(static_cast<std::int32_t>(RoundHalfEven(d * gain / 50)));
  return p;
}

Pulsogram FromEvenCsv(const std::string& path, double period) {
  std::ifstream in(path);
  std::vector<int> raw;
  for (int v; in >> v;) raw.push_back(v);
  return Differentiate(raw, period, 10901);
}

// "timer,hr" rows, the timer in milliseconds, from row `skip` on; the period
// is the mean step of the rows used.
Pulsogram FromTimedCsv(const std::string& path, std::size_t skip) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  for (std::size_t i = 0; i < skip; ++i) std::getline(in, line);
  std::vector<double> ms;
  std::vector<int> raw;
  while (std::getline(in, line) && raw.size() < 10901 + 5) {
    const auto comma = line.find(',');
    ms.push_back(std::stod(line.substr(0, comma)));
    raw.push_back(std::stoi(line.substr(comma + 1)));
  }
  if (raw.size() < 6) return {};
  const double period = (ms.back() - ms.front()) / static_cast<double>(ms.size() - 1) / 1000;
  return Differentiate(raw, period, 10901);
}

// ---- the committed files ----

void WriteSamples(const std::string& path, const Pulsogram& p) {
  std::ofstream out(path);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.17g", p.period);
  out << "SamplePeriod " << buf << "\n";
  for (std::int32_t s : p.samples) out << s << "\n";
}

Pulsogram ReadSamples(const std::string& path) {
  std::ifstream in(path);
  Pulsogram p;
  std::string key;
  in >> key >> p.period;
  for (std::int32_t s; in >> s;) p.samples.push_back(s);
  return p;
}

std::string Number(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.17g", v);
  return buf;
}

std::string Name(Rejection r) {
  const std::string_view word = Label(r).word;
  return std::string(word.empty() ? "accepted" : word);
}

std::string Name(CalcStop s) {
  const std::string_view word = Label(s).word;
  return std::string(word.empty() ? "completed" : word);
}

// Everything a user could be shown for the recording, one "key value" a line.
std::vector<std::string> Describe(const Pulsogram& p) {
  std::vector<std::string> out;
  out.push_back("SampleCount " + std::to_string(p.samples.size()));
  out.push_back("SamplePeriod " + Number(p.period));
  const MarkTable table = MarkBeats(p.samples);
  out.push_back("MarkMin " + std::to_string(table.MarkMin));
  out.push_back("MarkThreshold " + std::to_string(table.MarkThreshold));
  out.push_back("MarkCount " + std::to_string(table.count()));
  for (const BeatMark& m : table.Marks)
    out.push_back("Mark " + std::to_string(m.Index) + " " + std::to_string(m.Value));
  out.push_back(std::string("Acceptance ") + Name(AcceptMarks(table, p.period)));

  AnalysisResults r;
  out.push_back(std::string("Calculation ") + Name(ComputeAll(p.samples, table, p.period, r)));
  for (const AnalysisResultField& f : kAnalysisResultFields)
    out.push_back(std::string(f.Name) + " " + Number(r.*f.Member));
  out.push_back("TOSO " + Number(TOSO(r)));
  for (const VerdictLine& line : ConclusionVerdicts(r)) out.push_back("Verdict " + line.Text);
  const int score = ConclusionScore(r);
  const double pressure = PressureEstimate(r, r.MeanInterval);
  out.push_back("ConclusionScore " + std::to_string(score));
  out.push_back("PressureEstimate " + Number(pressure));
  out.push_back("Advice " + std::to_string(AdviceNeeded(score, pressure) ? 1 : 0));
  return out;
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Numbers agree to 1e-9 relative (a different libm may move the last
// places); everything else must match exactly.
bool SameValue(const std::string& expected, const std::string& actual) {
  if (expected == actual) return true;
  std::istringstream e(expected), a(actual);
  std::string ek, ak;
  double ev = 0, av = 0;
  if (!(e >> ek >> ev) || !(a >> ak >> av) || ek != ak) return false;
  std::string rest;
  if (e >> rest || a >> rest) return false;
  if (std::isnan(ev) || std::isnan(av)) return std::isnan(ev) && std::isnan(av);
  return std::abs(ev - av) <= 1e-9 * std::max(1.0, std::abs(ev));
}

void CheckGolden(const std::string& name, const Pulsogram& derived) {
  const std::string samplesPath = kGoldenDir + name + ".samples";
  const std::string goldenPath = kGoldenDir + name + ".golden";
  if (Regenerating()) {
    if (!derived.samples.empty()) WriteSamples(samplesPath, derived);
    std::ofstream out(goldenPath);
    for (const std::string& line : Describe(ReadSamples(samplesPath))) out << line << "\n";
  }
  const Pulsogram p = ReadSamples(samplesPath);
  ASSERT_FALSE(p.samples.empty()) << samplesPath;
  const std::vector<std::string> expected = ReadLines(goldenPath);
  const std::vector<std::string> actual = Describe(p);
  ASSERT_EQ(actual.size(), expected.size()) << goldenPath;
  for (std::size_t i = 0; i < expected.size(); ++i)
    EXPECT_TRUE(SameValue(expected[i], actual[i]))
        << goldenPath << ":" << i + 1 << "\n  expected: " << expected[i]
        << "\n  actual:   " << actual[i];
}

TEST(Golden, FingerRecordingAtHundredHertz) {
  Pulsogram derived;
  if (Regenerating()) derived = FromEvenCsv(kSharedDir + "finger-ppg-100hz.csv", 0.01);
  CheckGolden("finger-100hz", derived);
}

// Movement artefacts in the first half outweigh the beats: few marks, the
// first one late, so the acceptance test refuses it.
TEST(Golden, FingerRecordingWithArtefacts) {
  Pulsogram derived;
  if (Regenerating()) derived = FromTimedCsv(kSharedDir + "finger-ppg-timed.csv", 0);
  CheckGolden("finger-timed-artefacts", derived);
}

// The calmer second half, nearly a full record: its beats are shallow next
// to a few artefacts, so many are missed and the calculation sees pauses and
// extrasystoles.
TEST(Golden, LongFingerRecordingWithMissedBeats) {
  Pulsogram derived;
  if (Regenerating()) derived = FromTimedCsv(kSharedDir + "finger-ppg-timed.csv", 4100);
  CheckGolden("finger-timed-missed-beats", derived);
}

}  // namespace
}  // namespace sfigmo
