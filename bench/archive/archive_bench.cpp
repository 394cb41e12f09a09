// bench-archive: the archive list of 10 000 records ("Отк&р": the folder
// search and the sorted list) and a trend over 301 records ("Графика" and
// the double click: 301 files read and four curves drawn), on a warm disk.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListWidget>
#include <QTemporaryDir>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "storage/archive_folder.h"
#include "record/short_string.h"
#include "ui/form1.h"
#include "ui/storage_actions.h"

namespace {

namespace fs = std::filesystem;

// A window on a program folder whose archive holds `count` records named
// like a family's measurements over the years.
struct Archive {
  explicit Archive(int count) {
    TForm1Options o;
    o.display.ScreenWidth = 800;
    o.programFolder = dir.path();
    o.activateOnFirstShow = false;
    o.messagePresenter = [](const QString&, const QString&, bool) {};
    form = std::make_unique<TForm1>(o);
    form->CurrentRecord = std::make_unique<sfigmo::PulsogramRecord>();
    actions = form->findChild<sfigmo::StorageActions*>();
    const fs::path archive = sfigmo::ArchiveFolder(dir.path().toStdString());
    const char* patients[] = {"Иванов", "петров", "Сидорова", "Ёлкин", "МЛТ"};
    sfigmo::PulsogramRecord r{};
    for (int i = 0; i < count; ++i) {
      char name[96];
      std::snprintf(name, sizeof name, "%s67М%02d_%02d_%02d_09_%02d_%02d.pul", patients[i % 5],
                    i / 1000, i / 100 % 12 + 1, i % 28 + 1, i / 60 % 60, i % 60);
      r.Results.PULS = 60 + i % 30;
      r.Results.VRKI = 0.05 + (i % 7) * 0.01;
      r.Results.SPSO = 0.1;
      r.Results.NAGR = 0.05;
      sfigmo::SetShortString(r.PatientName, patients[i % 5]);
      std::ofstream(archive / name, std::ios::binary)
          .write(reinterpret_cast<const char*>(&r), sfigmo::kRecordSize);
    }
  }
  QTemporaryDir dir;
  std::unique_ptr<TForm1> form;
  sfigmo::StorageActions* actions = nullptr;
};

void BM_ListArchive(benchmark::State& state) {
  Archive a(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    a.actions->browser().OpenClick();
    benchmark::DoNotOptimize(a.form->ListBox1->count());
  }
  state.counters["entries"] = a.form->ListBox1->count();
}
BENCHMARK(BM_ListArchive)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_Trend300(benchmark::State& state) {
  Archive a(301);
  sfigmo::TrendView& trends = a.actions->trends();
  trends.GrafClick();
  for (auto _ : state) {
    trends.ListBox2Click(0);
    a.form->ListBox2->setCurrentRow(300);
    trends.ListBox2DblClick();
  }
  if (a.form->TrendViewShown != 1) state.SkipWithError("no graph drawn");
}
BENCHMARK(BM_Trend300)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
