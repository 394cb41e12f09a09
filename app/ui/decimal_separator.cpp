#include "ui/decimal_separator.h"

#include <QLocale>
#include <QString>

namespace sfigmo {

char ShownDecimalSeparator(QChar chosen) {
  if (chosen.isNull()) {
    const QString point = QLocale::system().decimalPoint();
    if (point.size() == 1) chosen = point.front();
  }
  const char c = chosen.toLatin1();
  return c != 0 ? c : '.';
}

DisplaySettings UserDisplaySettings() {
  DisplaySettings display;
  display.DecimalSeparator = ShownDecimalSeparator();
  return display;
}

}  // namespace sfigmo
