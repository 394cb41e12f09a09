// sfigmo-analyze [--json] [--stored] FILE.pul|FOLDER ...
// Checks stored measurements without the windowed program: marking,
// acceptance, the indices recomputed from the samples (or the stored block),
// verdicts, score, pressure estimate and advice. A folder stands for every
// .pul file in it, in name order. Exit code 1 when any file could not be
// read; the others are still analysed.

#include <malloc.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/numeric_locale.h"
#include "report_text.h"
#include "storage/record_file.h"

namespace fs = std::filesystem;
using namespace sfigmo;
using namespace Qt::StringLiterals;

namespace {

struct Options {
  bool Json = false;
  bool Stored = false;
  std::vector<std::string> Paths;
};

// Heap kept from one record to the next (far more than one record needs).
constexpr int kKeptHeap = 16 << 20;

constexpr const char* kUsage =
    "Использование: sfigmo-analyze [--json] [--stored] ФАЙЛ.pul|ПАПКА ...\n"
    "  --json    один объект JSON на файл, по строке на каждый\n"
    "  --stored  показать результаты, записанные в файле, без пересчёта\n";

bool IsPulFile(const fs::directory_entry& e) {
  std::string ext = e.path().extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  std::error_code ec;
  return ext == ".pul" && !e.is_directory(ec);
}

// The files a folder argument stands for, sorted by name (byte order, so the
// archive's date-in-name order holds whatever the locale).
bool ExpandFolder(const fs::path& folder, std::vector<fs::path>& files) {
  std::error_code ec;
  std::vector<fs::path> found;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (IsPulFile(*it)) found.push_back(it->path());
  }
  if (ec) {
    std::cerr << "Не удалось прочитать папку «" << folder.string()
              << "»: " << FileErrorReason(ec.value()) << '\n';
    return false;
  }
  if (found.empty()) std::cerr << "В папке «" << folder.string() << "» нет файлов .pul\n";
  std::sort(found.begin(), found.end());
  files.insert(files.end(), found.begin(), found.end());
  return true;
}

QJsonValue Number(double v) {
  // JSON has no NaN or infinity: a damaged record's non-finite value is null.
  return std::isfinite(v) ? QJsonValue(v) : QJsonValue(QJsonValue::Null);
}

QJsonValue WordOrNull(std::string_view word) {
  return word.empty() ? QJsonValue(QJsonValue::Null) : QJsonValue(QString::fromUtf8(word));
}

std::string ReportJson(const fs::path& file, const RecordReport& r) {
  QJsonObject o;
  o["file"_L1] = QString::fromStdString(file.string());
  for (const auto& [name, text] : r.Header) o[QLatin1StringView(name)] = QString::fromStdString(text);
  o["Gain"_L1] = r.Gain;
  o["SampleCount"_L1] = r.StoredSampleCount;
  o["SamplePeriod"_L1] = Number(r.SamplePeriod);
  o["MarkMin"_L1] = r.Marks.MarkMin;
  QJsonArray marks;
  for (const BeatMark& m : r.Marks.Marks) marks.append(m.Index);
  o["Marks"_L1] = marks;
  o["Accepted"_L1] = r.Accepted();
  o["RejectedBy"_L1] = WordOrNull(r.RejectedBy());
  o["StoppedAt"_L1] = WordOrNull(r.Calculated ? Label(r.Stop).word : std::string_view());
  o["Rhythm"_L1] = WordOrNull(r.Rhythm ? Label(*r.Rhythm).word : std::string_view());
  if (r.HasQuality) {
    o["SignalQuality"_L1] = r.Quality.doubtful ? "doubtful" : "good";
    QJsonArray reasons;
    for (const QualityReason reason : r.Quality.reasons)
      reasons.append(QString::fromUtf8(Label(reason).word));
    o["QualityReasons"_L1] = reasons;
    o["IndependentPULS"_L1] = Number(r.Quality.independentPULS);
  }
  for (const AnalysisResultField& f : kAnalysisResultFields) {
    if (HasResult(r, f))
      o[QLatin1StringView(f.Name)] = ResultDamaged(r, f) ? QJsonValue(QJsonValue::Null) : Number(r.Results.*f.Member);
  }
  if (!r.DamagedFields.empty()) {
    QJsonArray damaged;
    for (const std::string& name : r.DamagedFields) damaged.append(QString::fromStdString(name));
    o["DamagedResults"_L1] = damaged;
  }
  if (r.HasConclusion) {
    o["TOSO"_L1] = Number(r.Toso);
    QJsonArray verdicts;
    for (const VerdictLine& line : r.Verdicts) verdicts.append(QString::fromStdString(line.Text));
    o["Verdicts"_L1] = verdicts;
    o["ConclusionScore"_L1] = r.Score;
    o["PressureEstimate"_L1] = Number(r.Pressure);
    o["Advice"_L1] = r.Advice;
  }
  return QJsonDocument(o).toJson(QJsonDocument::Compact).toStdString();
}

// Analyses one file and prints its report; false when it could not be read.
// `record` is the one buffer every file is read into.
bool AnalyseFile(const fs::path& file, const Options& opt, char sep, PulsogramRecord& record) {
  const StorageError error = ReadRecordInPlace(file, record);
  if (!error.ok()) {
    std::cerr << StorageErrorText(error) << '\n';
    return false;
  }
  const RecordReport report = AnalyseRecord(record, opt.Stored);
  if (report.UsedSampleCount != report.StoredSampleCount) {
    std::cerr << "Файл «" << file.string() << "»: SampleCount " << report.StoredSampleCount
              << " больше " << kMaxSamples << ", взято " << kMaxSamples << '\n';
  }
  if (opt.Json) {
    std::cout << ReportJson(file, report) << '\n';
  } else {
    std::cout << "== " << file.string() << '\n' << ReportText(report, sep) << '\n';
  }
  // No flush per report: std::cerr is tied to std::cout, so the reports
  // before an error line always come out before it.
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options opt;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--json") {
      opt.Json = true;
    } else if (arg == "--stored") {
      opt.Stored = true;
    } else if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    } else if (arg.size() > 1 && arg[0] == '-' && arg != "--") {
      std::cerr << "Неизвестный ключ «" << arg << "»\n" << kUsage;
      return 2;
    } else if (arg != "--") {
      opt.Paths.push_back(arg);
    }
  }
  if (opt.Paths.empty()) {
    std::cerr << kUsage;
    return 2;
  }

  // The analysis of each record frees some hundred kilobytes at the top of
  // the heap; trimmed back to the system each time, they would come back as
  // fresh zeroed pages, page fault by page fault, for the next record.
  mallopt(M_TRIM_THRESHOLD, kKeptHeap);
  const char sep = UserDecimalSeparator();
  // Each read fills it whole, and a failed one is never looked at.
  const auto record = std::make_unique_for_overwrite<PulsogramRecord>();
  bool allRead = true;
  for (const std::string& arg : opt.Paths) {
    std::error_code ec;
    std::vector<fs::path> files;
    if (fs::is_directory(arg, ec)) {
      allRead = ExpandFolder(arg, files) && allRead;
    } else {
      files.push_back(arg);
    }
    for (const fs::path& file : files) allRead = AnalyseFile(file, opt, sep, *record) && allRead;
  }
  std::cout.flush();
  return allRead ? 0 : 1;
}
