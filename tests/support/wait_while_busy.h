#pragma once

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include "ui/form1.h"

namespace sfigmo::test {

// A run or a start-up check goes on from the event loop: lets it and the
// steps after it finish, as the user waits for them.
inline void WaitWhileBusy(const TForm1& form) {
  const QDeadlineTimer deadline(180'000);
  while (form.busy() && !deadline.hasExpired()) {
    QEventLoop pause;
    QTimer::singleShot(2, &pause, &QEventLoop::quit);
    pause.exec();
  }
}

}  // namespace sfigmo::test
