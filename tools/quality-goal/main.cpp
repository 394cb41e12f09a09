// quality-goal: the shared finger recordings replayed through the simulated
// sensor and measured window by window as the program measures them; per
// file, how many windows are accepted, how many the signal-quality check
// flags, and how many unflagged ones lie within 5 beats per minute of the
// rate counted independently on the recording.

#include <QGuiApplication>
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

struct FileTally {
  int windows = 0, accepted = 0, flagged = 0, unflagged = 0, unflaggedNear = 0;
  int near = 0, nearUnflagged = 0, farUnflagged = 0;
};

std::string Join(const std::vector<std::string>& words) {
  std::string s;
  for (const std::string& w : words) s += (s.empty() ? "" : ",") + w;
  return s.empty() ? "-" : s;
}

void PrintWindow(const MeasuredWindow& w, double truth) {
  std::printf("  %6.1f s  PULS %6.1f  true %5.1f  indep %6.1f  %-9s %s\n", w.startSeconds,
              w.results.PULS, truth, w.quality.independentPULS,
              w.quality.doubtful ? "doubtful" : "good", Join(w.quality.reasons).c_str());
  std::printf("      marks:");
  for (const sfigmo::BeatMark& m : w.marks.Marks) std::printf(" %d(%d)", m.Index, m.Value);
  std::printf("\n");
}

FileTally RunFile(const std::string& path, double fileRate, double step, bool detail) {
  sensorsim::SimConfig config;
  config.replayFile = path;
  config.replayRate = fileRate;
  const double seconds = RecordingSeconds(path, fileRate);
  sensorsim::ReplaySource source(path, fileRate, config.rate);
  sensorsim::ReplaySource fine(path, fileRate, 200.0);
  const std::vector<double> upstrokes = ReferenceBeats(fine, seconds);
  std::printf("%s: %.1f s, %zu upstrokes, %.1f beats per minute overall\n", path.c_str(), seconds,
              upstrokes.size(), ReferenceRate(upstrokes, 0.0, seconds));
  FileTally t;
  for (double skip = 0.0;; skip += step) {
    MeasuredWindow w = MeasureWindow(source, config, skip);
    if (w.endSeconds > seconds) break;
    ++t.windows;
    if (!w.accepted || !w.calculated) continue;
    ++t.accepted;
    const double truth = ReferenceRate(upstrokes, w.startSeconds, w.endSeconds);
    const bool isNear = std::fabs(w.results.PULS - truth) <= 5.0;
    t.near += isNear;
    if (w.quality.doubtful) {
      ++t.flagged;
    } else {
      ++t.unflagged;
      t.unflaggedNear += isNear;
      t.nearUnflagged += isNear;
      t.farUnflagged += !isNear;
    }
    if (detail) PrintWindow(w, truth);
  }
  return t;
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

double Percent(int part, int whole) { return whole > 0 ? 100.0 * part / whole : 100.0; }

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc > 1 && std::strcmp(argv[1], "--sim") == 0) return RunSimulated(argc - 1, argv + 1);
  const bool detail = argc > 1 && std::strcmp(argv[1], "--windows") == 0;
  const std::string dir = SFIGMO_SHARED_DATA_DIR;
  struct Input {
    std::string file;
    double rate;
  };
  const Input inputs[] = {{dir + "/finger-ppg-100hz.csv", 100.0},
                          {dir + "/finger-ppg-timed.csv", 100.0}};
  FileTally all;
  for (const Input& in : inputs) {
    const FileTally t = RunFile(in.file, in.rate, 1.0, detail);
    std::printf(
        "  windows %d, accepted %d, flagged %d, unflagged %d of which within 5 bpm %d (%.0f %%); "
        "in fact within 5: %d, of them unflagged %d (%.0f %%); more than 5 off yet unflagged: "
        "%d\n\n",
        t.windows, t.accepted, t.flagged, t.unflagged, t.unflaggedNear,
        Percent(t.unflaggedNear, t.unflagged), t.near, t.nearUnflagged,
        Percent(t.nearUnflagged, t.near), t.farUnflagged);
    all.unflagged += t.unflagged;
    all.unflaggedNear += t.unflaggedNear;
    all.near += t.near;
    all.nearUnflagged += t.nearUnflagged;
    all.farUnflagged += t.farUnflagged;
  }
  std::printf(
      "all: unflagged within 5: %.0f %% (aim 95), windows within 5 left unflagged: %.0f %% "
      "(aim 60)\n",
      Percent(all.unflaggedNear, all.unflagged), Percent(all.nearUnflagged, all.near));
  return 0;
}
