#include "ui/decimal_separator.h"

#include <QLocale>
#include <QString>

namespace sfigmo {

char ShownDecimalSeparator() {
  const QString point = QLocale::system().decimalPoint();
  const char c = point.size() == 1 ? point.front().toLatin1() : 0;
  return c != 0 ? c : '.';
}

DisplaySettings UserDisplaySettings() {
  DisplaySettings display;
  display.DecimalSeparator = ShownDecimalSeparator();
  return display;
}

}  // namespace sfigmo
