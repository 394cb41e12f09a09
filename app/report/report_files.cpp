#include "report/report_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <string>
#include <string_view>

#include "storage/record_file.h"
#include "storage/save_name.h"

namespace sfigmo {

ReportError ReadReportRecord(const QString& path, PulsogramRecord& record) {
  const StorageError read =
      ReadRecord(std::filesystem::path(QFile::encodeName(path).toStdString()), record);
  if (read.ok()) return {};
  ReportError error = ReportFailed(ReportFailure::RecordUnreadable, path);
  error.Record = read;
  return error;
}

QString DefaultPdfName(const PulsogramRecord& record) {
  // The record's own save name without ".pul"; a "/" cannot name a file.
  std::string name = BuildSaveName(record).Name;
  name.resize(name.size() - std::string_view(".pul").size());
  return QString::fromStdString(name).replace(u'/', u'_');
}

QString PdfPathForRecord(const QString& programFolder, const QString& recordPath) {
  const QString base = QFileInfo(recordPath).completeBaseName();
  return QDir(programFolder).filePath(QStringLiteral("PDF/") + base + QStringLiteral(".pdf"));
}

QString EnsurePdfFolder(const QString& programFolder) {
  const QString folder = QDir(programFolder).filePath(QStringLiteral("PDF"));
  if (!QDir().mkpath(folder)) return {};
  return folder + u'/';
}

}  // namespace sfigmo
