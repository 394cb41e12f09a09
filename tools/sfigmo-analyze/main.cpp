// sfigmo-analyze [--json] [--stored] FILE.pul|FOLDER ...
// Checks stored measurements without the windowed program: marking,
// acceptance, the indices recomputed from the samples (or the stored block),
// verdicts, score, pressure estimate and advice. A folder stands for every
// .pul file in it, in name order. Exit code 1 when any file could not be
// read; the others are still analysed.

#include <malloc.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/numeric_locale.h"
#include "report_json.h"
#include "report_text.h"
#include "storage/record_file.h"

namespace fs = std::filesystem;
using namespace sfigmo;

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
    std::cout << ReportJson(file.string(), report) << '\n';
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
