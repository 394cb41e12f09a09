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
    if (!file.exists()) return {{}, MessagingFailed(MessagingFailure::SettingsNotFound, path)};
    MessagingError error = MessagingFailed(MessagingFailure::SettingsUnreadable, path);
    error.SystemReason = file.errorString();
    return {{}, error};
  }
  QByteArray bytes = file.readLine(kMaxLineBytes);
  while (bytes.endsWith('\n') || bytes.endsWith('\r')) bytes.chop(1);
  return {QString::fromUtf8(bytes), {}};
}

MessagingError WriteTextFile(const QString& path, const QByteArray& bytes) {
  const StorageError error =
      WriteWholeFile(QFile::encodeName(path).toStdString(),
                     std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                               static_cast<std::size_t>(bytes.size())));
  if (error.ok()) return {};
  MessagingError failed = MessagingFailed(MessagingFailure::FileWrite, path);
  failed.Errno = error.Errno;
  return failed;
}

MessagingError WriteSettingsLine(const QString& path, const QString& line) {
  return WriteTextFile(path, line.toUtf8() + "\r\n");
}

MessagingError WriteSettingsPort(const QString& path, const QString& port) {
  const SettingsRead read = ReadSettingsLine(path);
  if (!read.error.ok()) return read.error;
  return WriteSettingsLine(path, ReplacePort(read.line, port));
}

MessagingError EnsureSettingsFile(const QString& path, const QString& defaultFile) {
  if (QFileInfo::exists(path) || !QFileInfo::exists(defaultFile)) return {};
  if (!QFile::copy(defaultFile, path)) {
    MessagingError error = MessagingFailed(MessagingFailure::SettingsCopy, path);
    error.Source = defaultFile;
    return error;
  }
  QFile::setPermissions(path, QFile::permissions(path) | QFile::WriteOwner);
  return {};
}

}  // namespace sfigmo
