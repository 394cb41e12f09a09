// rhythm-goal: finger pulse waves with cardiologist-labelled rhythms (one
// gzipped CSV per patient, lines of "label,s1,...,s1000" at 100 samples per
// second, values rising with blood volume) presented as recordings the way
// the measurement run stores them, then marked, checked and read as the
// program does. Prints per rhythm the accepted share, the doubtful share and
// its reasons, the verdicts' irregular share and the share of each reading.
//
//   rhythm-goal DIR [--per-patient N] [--half 1|2] [--segments]
//
// --per-patient keeps the first N segments of each rhythm and patient;
// --half keeps every other patient (files in name order, the first or the
// second of each pair), to tune on one half and check on the other;
// --segments prints one line per segment (the wave's own rate, the intervals
// in seconds and the marks' depths) to tune on.

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "acquisition/measurement_run.h"
#include "analysis/beat_marking.h"
#include "analysis/conclusion_rules.h"
#include "analysis/indices.h"
#include "analysis/recording_plausibility.h"
#include "analysis/rhythm_reading.h"
#include "analysis/signal_quality.h"
#include "common/median.h"

namespace {

using namespace sfigmo;

constexpr double kFileRate = 100.0;
constexpr int kRateStep = 2;            // the sensor gives 50 samples per second
constexpr double kSensorPeriod = 0.02;  // s per sample
constexpr int kSpan = kStepsPerFrame;   // the run differences sums of five
constexpr int kStartGain = 20;

constexpr std::array<const char*, 6> kRhythms = {"sinus rhythm",
                                                 "premature ventricular contractions",
                                                 "premature atrial contractions",
                                                 "ventricular tachycardia",
                                                 "supraventricular tachycardia",
                                                 "atrial fibrillation"};

// K of A = 20000 - K x value, chosen as the simulator's replay chooses it:
// the typical steepest five-sample rise drawn in the middle of the range
// the calibration is made for.
double TypicalScale(const std::vector<double>& v) {
  constexpr double kDesignedRise = 112.5 * 50.0 / 20.0;
  const std::size_t window = std::min<std::size_t>(200, v.size() - kSpan);  // 4 s
  std::vector<double> rise(v.size() - kSpan);
  for (std::size_t k = 0; k + kSpan < v.size(); ++k) rise[k] = v[k + kSpan] - v[k];
  std::vector<double> peaks;
  for (std::size_t from = 0; from + window <= rise.size();
       from += std::max<std::size_t>(1, window / 2))
    peaks.push_back(*std::max_element(rise.begin() + static_cast<long>(from),
                                      rise.begin() + static_cast<long>(from + window)));
  const double typical = Median(std::move(peaks));
  return typical > 0.0 ? kDesignedRise / typical : 12.0;
}

// The segment as the measurement run stores it: the light level at the
// sensor's rate, the change of its five-sample sum, scaled by the gain the
// calibration would set on the same wave.
std::vector<std::int32_t> PresentSegment(std::span<const double> values) {
  std::vector<double> v;
  for (std::size_t i = 0; i < values.size(); i += kRateStep) v.push_back(values[i]);
  const double scale = TypicalScale(v);
  std::vector<std::int32_t> level(v.size());
  for (std::size_t i = 0; i < v.size(); ++i)
    level[i] = static_cast<std::int32_t>(std::lround(20000.0 - scale * v[i]));
  std::vector<int> change;
  for (std::size_t k = kSpan; k < level.size(); ++k) change.push_back(level[k] - level[k - kSpan]);
  int peak = 0;
  for (int d : change) peak = std::max(peak, TraceValue(d, kStartGain));
  const int gain = RecalibratedGain(kStartGain, peak);
  std::vector<std::int32_t> samples;
  for (int d : change) samples.push_back(TraceValue(d, gain) - 100);
  return samples;
}

struct Tally {
  int segments = 0, accepted = 0, doubtful = 0, verdictIrregular = 0;
  std::map<std::string, int> reasons;
  std::array<int, 3> readings{};
};

bool VerdictSaysIrregular(std::span<const std::int32_t> samples, const MarkTable& marks) {
  AnalysisResults results;
  if (ComputeAll(samples, marks, kSensorPeriod, results) != CalcStop::Completed) {
    // The rhythm stage may still have written its counts.
    if (ComputeRhythm(CardioIntervals(marks), kSensorPeriod, results) == CalcStop::Rhythm1)
      return false;
  }
  return results.KOLE != 0 || results.KOLP != 0 ||
         RhythmLine(results.VRKI).Colour == VerdictColour::Red;
}

// Intervals in seconds, then the marks' depths.
std::string Intervals(const MarkTable& marks) {
  std::string s;
  char buf[32];
  for (const std::int32_t i : CardioIntervals(marks)) {
    std::snprintf(buf, sizeof buf, "%s%.2f", s.empty() ? "" : " ", i * kSensorPeriod);
    s += buf;
  }
  s += " |";
  for (const BeatMark& m : marks.Marks) s += " " + std::to_string(m.Value);
  return s;
}

void Segment(const std::string& file, int line, int label, std::span<const double> values, Tally& t,
             bool print) {
  const std::vector<std::int32_t> samples = PresentSegment(values);
  ++t.segments;
  MarkTable marks;
  const RecordingVerdict verdict = JudgeRecording(samples, kSensorPeriod, marks);
  if (!verdict.accepted()) {
    if (print) std::printf("%s %d %d rejected\n", file.c_str(), line, label);
    return;
  }
  ++t.accepted;
  const SignalQuality q = AssessSignalQuality(samples, marks, kSensorPeriod);
  t.doubtful += q.doubtful;
  for (const QualityReason r : q.reasons) ++t.reasons[std::string(Label(r).word)];
  const bool verdictIrregular = VerdictSaysIrregular(samples, marks);
  t.verdictIrregular += verdictIrregular;
  const RhythmReading reading = ReadRhythm(marks);
  ++t.readings[static_cast<std::size_t>(reading)];
  if (print) {
    std::string reasons;
    for (const QualityReason r : q.reasons)
      reasons += std::string(reasons.empty() ? "" : ",") + std::string(Label(r).word);
    std::printf("%s %d %d %s %s %d %.1f | %s\n", file.c_str(), line, label,
                reasons.empty() ? "-" : reasons.c_str(), std::string(Label(reading).word).c_str(),
                verdictIrregular ? 1 : 0, q.independentPULS, Intervals(marks).c_str());
  }
}

double Percent(int part, int whole) { return whole > 0 ? 100.0 * part / whole : 0.0; }

void PrintTable(const std::array<Tally, kRhythms.size()>& tallies) {
  std::printf(
      "\n| rhythm | segments | accepted | doubtful | doubtful reasons | verdicts irregular |"
      " regular | ectopic | irregular |\n|---|---|---|---|---|---|---|---|---|\n");
  for (std::size_t r = 0; r < kRhythms.size(); ++r) {
    const Tally& t = tallies[r];
    if (t.segments == 0) continue;
    std::string reasons;
    for (const auto& [word, n] : t.reasons) {
      char buf[64];
      std::snprintf(buf, sizeof buf, "%s%s %.1f %%", reasons.empty() ? "" : ", ", word.c_str(),
                    Percent(n, t.accepted));
      reasons += buf;
    }
    std::printf("| %s | %d | %.1f %% | %.1f %% | %s | %.1f %% | %.1f %% | %.1f %% | %.1f %% |\n",
                kRhythms[r], t.segments, Percent(t.accepted, t.segments),
                Percent(t.doubtful, t.accepted), reasons.empty() ? "-" : reasons.c_str(),
                Percent(t.verdictIrregular, t.accepted), Percent(t.readings[0], t.accepted),
                Percent(t.readings[1], t.accepted), Percent(t.readings[2], t.accepted));
  }
  // Premature beats of both kinds together, as the reading's aim counts them.
  const Tally& pvc = tallies[1];
  const Tally& pac = tallies[2];
  std::printf("\npremature beats of both kinds: %d accepted, irregular %.1f %%\n",
              pvc.accepted + pac.accepted,
              Percent(pvc.readings[2] + pac.readings[2], pvc.accepted + pac.accepted));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: rhythm-goal DIR [--per-patient N] [--half 1|2] [--segments]\n");
    return 2;
  }
  const std::filesystem::path dir = argv[1];
  int perPatient = 0;
  int half = 0;
  bool print = false;
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "--segments") == 0) {
      print = true;
    } else if (std::strcmp(argv[i], "--per-patient") == 0 && i + 1 < argc) {
      perPatient = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--half") == 0 && i + 1 < argc) {
      half = std::atoi(argv[++i]);
      if (half != 1 && half != 2) {
        std::fprintf(stderr, "--half takes 1 or 2\n");
        return 2;
      }
    } else {
      std::fprintf(stderr, "unknown option: %s\n", argv[i]);
      return 2;
    }
  }
  std::vector<std::filesystem::path> files;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
    if (entry.path().string().ends_with(".csv.gz")) files.push_back(entry.path());
  }
  if (error || files.empty()) {
    std::fprintf(stderr, "no .csv.gz files in %s\n", dir.c_str());
    return 1;
  }
  std::sort(files.begin(), files.end());
  if (half != 0) {
    std::vector<std::filesystem::path> kept;
    for (std::size_t i = static_cast<std::size_t>(half - 1); i < files.size(); i += 2)
      kept.push_back(files[i]);
    files = std::move(kept);
  }
  std::array<Tally, kRhythms.size()> tallies;
  std::vector<char> buffer(1 << 16);
  for (const auto& path : files) {
    gzFile in = gzopen(path.c_str(), "rb");
    if (in == nullptr) {
      std::fprintf(stderr, "cannot open %s\n", path.c_str());
      return 1;
    }
    std::array<int, kRhythms.size()> kept{};
    std::string line;
    int number = 0;
    while (gzgets(in, buffer.data(), static_cast<int>(buffer.size())) != nullptr) {
      line += buffer.data();
      if (line.empty() || line.back() != '\n') continue;
      ++number;
      std::istringstream fields(line);
      line.clear();
      std::vector<double> values;
      std::string field;
      int label = -1;
      while (std::getline(fields, field, ',')) {
        const double x = std::strtod(field.c_str(), nullptr);
        if (label < 0) {
          label = static_cast<int>(x);
        } else {
          values.push_back(x);
        }
      }
      if (label < 0 || label >= static_cast<int>(kRhythms.size()) || values.size() < 400) continue;
      if (perPatient > 0 && kept[static_cast<std::size_t>(label)]++ >= perPatient) continue;
      Segment(path.filename().string(), number, label, values,
              tallies[static_cast<std::size_t>(label)], print);
    }
    gzclose(in);
  }
  PrintTable(tallies);
  return 0;
}
