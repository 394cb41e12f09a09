#include "messaging/core/settings_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "messaging/core/settings_line.h"

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

QString WriteSettingsLine(const QString& path, const QString& line) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
    return QStringLiteral("Не удалось записать файл %1: %2.").arg(path, file.errorString());
  }
  const QByteArray bytes = line.toUtf8() + "\r\n";
  // Unbuffered, so a short write (full disk, size limit) shows in the count:
  // Qt takes a partly flushed buffer for success. It is never committed.
  if (file.write(bytes) != bytes.size()) file.cancelWriting();
  if (!file.commit()) {
    return QStringLiteral("Не удалось записать файл %1: %2.").arg(path, file.errorString());
  }
  return {};
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
