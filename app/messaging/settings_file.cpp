#include "messaging/settings_file.h"

#include <QFile>
#include <QFileInfo>
#include <cstdint>
#include <span>

#include "messaging/settings_line.h"
#include "storage/record_file.h"

namespace sfigmo {

namespace {
// A settings line is short; a huge file is not one and is not read whole.
constexpr qint64 kMaxLineBytes = 64 * 1024;
}  // namespace

SettingsRead ReadSettingsLine(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    const QString reason = file.exists() ? file.errorString() : QStringLiteral("файл не найден");
    return {{}, QStringLiteral("Нет файла настроек телефона %1: %2.").arg(path, reason)};
  }
  QByteArray bytes = file.readLine(kMaxLineBytes);
  while (bytes.endsWith('\n') || bytes.endsWith('\r')) bytes.chop(1);
  return {QString::fromUtf8(bytes), {}};
}

QString WriteTextFile(const QString& path, const QByteArray& bytes) {
  const StorageError error =
      WriteWholeFile(QFile::encodeName(path).toStdString(),
                     std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                               static_cast<std::size_t>(bytes.size())));
  if (error.ok()) return {};
  return QStringLiteral("Не удалось записать файл %1: %2.")
      .arg(path, QString::fromStdString(FileErrorReason(error.Errno)));
}

QString WriteSettingsLine(const QString& path, const QString& line) {
  return WriteTextFile(path, line.toUtf8() + "\r\n");
}

QString WriteSettingsPort(const QString& path, const QString& port) {
  const SettingsRead read = ReadSettingsLine(path);
  if (!read.error.isEmpty()) return read.error;
  return WriteSettingsLine(path, ReplacePort(read.line, port));
}

QString EnsureSettingsFile(const QString& path, const QString& defaultFile) {
  if (QFileInfo::exists(path) || !QFileInfo::exists(defaultFile)) return {};
  if (!QFile::copy(defaultFile, path)) {
    return QStringLiteral("Не удалось скопировать %1 в %2.").arg(defaultFile, path);
  }
  QFile::setPermissions(path, QFile::permissions(path) | QFile::WriteOwner);
  return {};
}

}  // namespace sfigmo
