#include "report/report_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <filesystem>

#include "storage/record_file.h"
#include "storage/short_string.h"

namespace sfigmo {

bool ReadReportRecord(const QString& path, PulsogramRecord& record, QString& message) {
  const StorageError error =
      ReadRecord(std::filesystem::path(QFile::encodeName(path).toStdString()), record);
  if (error.ok()) return true;
  message = QString::fromStdString(StorageErrorText(error));
  return false;
}

QString DefaultPdfName(const PulsogramRecord& record) {
  QString name;
  for (std::span<const std::uint8_t> field : {std::span<const std::uint8_t>(record.PatientName),
                                              std::span<const std::uint8_t>(record.PatientAge),
                                              std::span<const std::uint8_t>(record.PatientSex),
                                              std::span<const std::uint8_t>(record.DateText),
                                              std::span<const std::uint8_t>(record.TimeText)})
    name += QString::fromStdString(GetShortString(field));
  name.replace(u'/', u'_');
  return name;
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
