#pragma once
// Pictures of windows saved beside the tests, to be looked at by eye.

#include <QDir>
#include <QString>
#include <QWidget>

namespace sfigmo::test {

// Saves what `w` shows as <folder>/<name>.png, making the folder if needed.
inline void SavePicture(QWidget& w, const QString& folder, const QString& name) {
  QDir().mkpath(folder);
  w.grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

}  // namespace sfigmo::test
