// bench-export: the archive of 10 000 records to one CSV table (listing,
// reading every file, acceptance and signal quality judged afresh, rows
// sorted and written as text), and one maximal record to an EDF+ file in
// memory (marking, analysis, annotations, header), on a warm disk.

#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "csv_export.h"
#include "edf_export.h"
#include "sample_wave.h"
#include "storage/archive_folder.h"
#include "storage/record_file.h"
#include "record/short_string.h"

namespace {

namespace fs = std::filesystem;
using namespace sfigmo;

// Ten years of measurements, one distinct file each.
class ArchiveOf10000 {
 public:
  ArchiveOf10000() {
    auto r = std::make_unique<PulsogramRecord>();
    FillSampleRecord(*r, NormalRestingWave());
    for (int i = 0; i < 10000; ++i) {
      char date[16], time[16], name[64];
      std::snprintf(date, sizeof date, "%02d_%02d_%02d_", 16 + i / 1000, 1 + i % 12, 1 + i % 28);
      std::snprintf(time, sizeof time, "%02d_%02d_%02d", i % 24, i % 60, (i * 7) % 60);
      std::snprintf(name, sizeof name, "Пациент%05d45муж%s%s.pul", i, date, time);
      SetShortString(r->DateText, date);
      SetShortString(r->TimeText, time);
      r->Results.PULS = 60 + i % 30;
      WriteRecord(fs::path(dir_.path().toStdString()) / name, *r);
    }
  }
  fs::path path() const { return dir_.path().toStdString(); }

 private:
  QTemporaryDir dir_;
};

void BM_CsvArchive10000(benchmark::State& state) {
  static const ArchiveOf10000 archive;
  for (auto _ : state) {
    RecordListing listing = ListRecordFiles(archive.path());
    std::sort(listing.Names.begin(), listing.Names.end());
    std::vector<fs::path> files;
    for (const std::string& name : listing.Names) files.push_back(archive.path() / name);
    const CsvTable table = BuildCsvTable(files, CsvFormat{';', ','});
    benchmark::DoNotOptimize(table.Text.data());
    if (table.Rows != 10000) state.SkipWithError("rows missing");
  }
}
BENCHMARK(BM_CsvArchive10000)->Unit(benchmark::kMillisecond)->Iterations(3);

// 10 901 samples at the slowest period the sensor gives, 99 beats: the
// longest recording that is still accepted and fully analysed.
void BM_EdfMaximalRecord(benchmark::State& state) {
  SampleWave wave = NormalRestingWave();
  wave.SamplePeriod = 0.0218;
  wave.Intervals.assign(98, 109);
  wave.FirstBeat = 60;
  wave.TrailingSamples = kMaxSamples - 60 - 98 * 109;
  auto record = std::make_unique<PulsogramRecord>();
  FillSampleRecord(*record, wave);
  for (auto _ : state) {
    const EdfExport edf = ExportEdf(*record);
    benchmark::DoNotOptimize(edf.Bytes.data());
    if (edf.Bytes.empty()) state.SkipWithError("refused");
  }
}
BENCHMARK(BM_EdfMaximalRecord)->Unit(benchmark::kMillisecond);

}  // namespace
