// From a chosen record file to a complete PDF on disk: the record read, the
// page recorded as a picture, libdspdf.so loaded, the PDF written and the
// library unloaded, as "Печать PDF" does it. Also the page alone.

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include "report/report_files.h"
#include "report/screens/report_pdf.h"
#include "storage/record_file.h"
#include "record/short_string.h"

namespace {

QString SampleRecord(const QTemporaryDir& dir) {
  sfigmo::PulsogramRecord record{};
  sfigmo::SetShortString(record.PatientName, "Иванов");
  sfigmo::SetShortString(record.PatientAge, "67");
  sfigmo::SetShortString(record.DateText, "08_12_25_");
  sfigmo::SetShortString(record.TimeText, "10_15_30");
  record.Results.PULS = 72.4;
  record.Results.VRKI = 0.0523;
  record.Results.MeanInterval = 0.8;
  const QString path = dir.filePath(QStringLiteral("x.pul"));
  sfigmo::WriteRecord(QFile::encodeName(path).toStdString(), record);
  return path;
}

void BM_RecordToPdf(benchmark::State& state) {
  QTemporaryDir dir;
  const QString recordPath = SampleRecord(dir);
  const QString pdf = dir.filePath(QStringLiteral("x.pdf"));
  sfigmo::ReportPdfOptions options;
  options.LibraryFolder = QStringLiteral(SFIGMO_BIN_DIR);
  auto record = std::make_unique<sfigmo::PulsogramRecord>();
  for (auto _ : state) {
    if (!sfigmo::ReadReportRecord(recordPath, *record).ok() ||
        !sfigmo::WriteReportPdf(*record, pdf, options).ok()) {
      state.SkipWithError("the PDF was not written");
      break;
    }
  }
}
BENCHMARK(BM_RecordToPdf)->Unit(benchmark::kMillisecond);

void BM_PagePicture(benchmark::State& state) {
  sfigmo::PulsogramRecord record{};
  for (auto _ : state) benchmark::DoNotOptimize(sfigmo::ReportPictureData(record, {}));
}
BENCHMARK(BM_PagePicture)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
