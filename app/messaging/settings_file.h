#pragma once
// Reading and rewriting telport.txt. Only its first line counts; a rewrite
// leaves exactly that line and CR LF, written to a temporary file and
// renamed into place so a failure never leaves the file empty or cut.
// Errors come back as Russian text naming the file; empty means success.

#include <QByteArray>
#include <QString>

namespace sfigmo {

struct SettingsRead {
  QString line;   // the first line, without its line end
  QString error;  // empty on success
};

// The first line of the file (UTF-8).
SettingsRead ReadSettingsLine(const QString& path);

// Replaces the whole file by `bytes` through a temporary file beside it;
// the message names the file and the system's reason.
QString WriteTextFile(const QString& path, const QByteArray& bytes);

// Replaces the whole file by `line` + CR LF.
QString WriteSettingsLine(const QString& path, const QString& line);

// Rewrites characters 8-13 of the file's first line with `port`.
QString WriteSettingsPort(const QString& path, const QString& port);

// Copies `defaultFile` to `path` when `path` does not exist yet.
QString EnsureSettingsFile(const QString& path, const QString& defaultFile);

}  // namespace sfigmo
