#pragma once
// Waiting for the help engine's background work and saving pictures.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QThread>
#include <QWidget>
#include <functional>

#include "save_picture.h"

namespace sfigmo::test {

// Lets events run until `done` holds or a generous time has passed.
inline bool WaitFor(const std::function<bool()>& done, int milliseconds = 60000) {
  QDeadlineTimer deadline(milliseconds);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QThread::msleep(5);
  }
  return true;
}

inline void SavePicture(QWidget* w, const QString& name) {
  SavePicture(*w, QStringLiteral(SFIGMO_SCREENSHOT_DIR), name);
}

}  // namespace sfigmo::test
