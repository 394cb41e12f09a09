#pragma once
// Reading and rewriting telport.txt. Only its first line counts; a rewrite
// leaves exactly that line and CR LF, written to a temporary file and
// renamed into place so a failure never leaves the file empty or cut.
// Failures come back as typed values naming the file.

#include <QByteArray>
#include <QString>

#include "messaging/messaging_error.h"

namespace sfigmo {

struct SettingsRead {
  QString line;  // the first line, without its line end
  MessagingError error;
};

// The first line of the file (UTF-8).
SettingsRead ReadSettingsLine(const QString& path);

// Replaces the whole file by `bytes` through a temporary file beside it;
// a failure carries the file and the system's errno.
MessagingError WriteTextFile(const QString& path, const QByteArray& bytes);

// Replaces the whole file by `line` + CR LF.
MessagingError WriteSettingsLine(const QString& path, const QString& line);

// Rewrites characters 8-13 of the file's first line with `port`.
MessagingError WriteSettingsPort(const QString& path, const QString& port);

// Copies `defaultFile` to `path` when `path` does not exist yet.
MessagingError EnsureSettingsFile(const QString& path, const QString& defaultFile);

}  // namespace sfigmo
