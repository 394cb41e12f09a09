// quality-goal: the shared finger recordings replayed through the simulated
// sensor and measured window by window as the program measures them; per
// file, how many windows are accepted, how many the signal-quality check
// flags, and how many unflagged ones lie within 5 beats per minute of the
// rate counted independently on the recording.

#include <QCoreApplication>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "analysis/beat_marking.h"
#include "measured_window.h"
#include "sim_options.h"

namespace {

using namespace sfigmo::quality;

struct Tally {
  int windows = 0, accepted = 0, flagged = 0;
  int unflagged = 0, unflaggedNear = 0;  // near: PULS within 5 of the true rate
  int near = 0, nearUnflagged = 0;
  int far = 0, farFlagged = 0;
  int noReference = 0, noReferenceFlagged = 0;

  Tally& operator+=(const Tally& t) {
    windows += t.windows, accepted += t.accepted, flagged += t.flagged;
    unflagged += t.unflagged, unflaggedNear += t.unflaggedNear;
    near += t.near, nearUnflagged += t.nearUnflagged;
    far += t.far, farFlagged += t.farFlagged;
    noReference += t.noReference, noReferenceFlagged += t.noReferenceFlagged;
    return *this;
  }
};

std::string Join(const std::vector<sfigmo::QualityReason>& reasons) {
  std::string s;
  for (const sfigmo::QualityReason r : reasons) {
    s += s.empty() ? "" : ",";
    s += sfigmo::Label(r).word;
  }
  return s.empty() ? "-" : s;
}

void PrintWindow(const MeasuredWindow& w, double truth) {
  char reference[16] = "-";
  if (truth > 0.0) std::snprintf(reference, sizeof reference, "%.1f", truth);
  std::printf("  %6.1f s  PULS %6.1f  true %5s  independent %6.1f  %-9s %s\n", w.startSeconds,
              w.results.PULS, reference, w.quality.independentPULS,
              w.quality.doubtful ? "doubtful" : "good", Join(w.quality.reasons).c_str());
  std::printf("      marks:");
  for (const sfigmo::BeatMark& m : w.marks.Marks) std::printf(" %d(%d)", m.Index, m.Value);
  std::printf("\n");
}

// Windows whose rate the recording does not show steadily (noise, movement)
// count as wrong when left unflagged.
Tally RunFile(const std::string& path, double fileRate, bool detail) {
  const std::vector<ReplayedWindow> windows = ReplayRecording(path, fileRate);
  Tally t;
  for (const ReplayedWindow& r : windows) {
    const MeasuredWindow& w = r.measured;
    ++t.windows;
    if (!w.accepted || !w.calculated) continue;
    ++t.accepted;
    const bool flagged = w.quality.doubtful;
    const bool near = r.trueRate > 0.0 && std::fabs(w.results.PULS - r.trueRate) <= 5.0;
    t.flagged += flagged;
    t.unflagged += !flagged;
    t.unflaggedNear += !flagged && near;
    if (r.trueRate <= 0.0) {
      ++t.noReference;
      t.noReferenceFlagged += flagged;
    } else if (near) {
      ++t.near;
      t.nearUnflagged += !flagged;
    } else {
      ++t.far;
      t.farFlagged += flagged;
    }
    if (detail) PrintWindow(w, r.trueRate);
  }
  return t;
}

double Percent(int part, int whole) { return whole > 0 ? 100.0 * part / whole : 100.0; }

void PrintTally(const Tally& t) {
  std::printf("  windows %d, accepted %d, flagged %d, unflagged %d\n", t.windows, t.accepted,
              t.flagged, t.unflagged);
  std::printf("  unflagged within 5 bpm of the true rate: %d of %d (%.0f %%)\n", t.unflaggedNear,
              t.unflagged, Percent(t.unflaggedNear, t.unflagged));
  std::printf("  within 5 in fact: %d, left unflagged %d (%.0f %%)\n", t.near, t.nearUnflagged,
              Percent(t.nearUnflagged, t.near));
  std::printf("  more than 5 off: %d, flagged %d\n", t.far, t.farFlagged);
  std::printf("  no steady rate on the recording: %d, flagged %d\n\n", t.noReference,
              t.noReferenceFlagged);
}

// One run of the simulated sensor with its own command line, as sfigmo
// would record it after "СТАРТ".
int RunSimulated(int argc, char** argv) {
  const sensorsim::ParsedOptions options = sensorsim::ParseOptions(argc, argv);
  if (!options.error.empty()) {
    std::fprintf(stderr, "%s\n", options.error.c_str());
    return 2;
  }
  const std::unique_ptr<sensorsim::SignalSource> source =
      sensorsim::MakeSignalSource(options.config);
  const MeasuredWindow w = MeasureWindow(*source, options.config, 0.0);
  std::printf("%s, %s\n", w.accepted ? "accepted" : "rejected",
              w.calculated ? "calculated" : "not calculated");
  PrintWindow(w, options.config.replayFile.empty() ? options.config.bpm : 0.0);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc > 1 && std::strcmp(argv[1], "--sim") == 0) return RunSimulated(argc - 1, argv + 1);
  const bool detail = argc > 1 && std::strcmp(argv[1], "--windows") == 0;
  const std::string dir = SFIGMO_PPG_DATA_DIR;
  struct Input {
    std::string file;
    double rate;
  };
  const Input inputs[] = {{dir + "/finger-ppg-100hz.csv", 100.0},
                          {dir + "/finger-ppg-timed.csv", 100.0}};
  Tally all;
  for (const Input& in : inputs) {
    std::printf("%s\n", in.file.c_str());
    const Tally t = RunFile(in.file, in.rate, detail);
    PrintTally(t);
    all += t;
  }
  std::printf("all recordings\n");
  PrintTally(all);
  std::printf("aim: unflagged within 5 at least 95 %%, within 5 left unflagged at least 60 %%\n");
  return 0;
}
