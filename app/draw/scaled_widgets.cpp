#include "draw/scaled_widgets.h"

#include <QEvent>
#include <QStyleOption>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <iterator>

namespace sfigmo {

ScaledControlStyle::ScaledControlStyle(double factor) : factor_(factor) {}

int ScaledControlStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                                    const QWidget* widget) const {
  const int base = QProxyStyle::pixelMetric(metric, option, widget);
  switch (metric) {
    case PM_ExclusiveIndicatorWidth:
    case PM_ExclusiveIndicatorHeight:
    case PM_IndicatorWidth:
    case PM_IndicatorHeight:
    case PM_RadioButtonLabelSpacing:
    case PM_CheckBoxLabelSpacing:
      return static_cast<int>(std::lround(base * factor_));
    default:
      return base;
  }
}

QSize ScaledControlStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                           const QSize& size, const QWidget* widget) const {
  QSize out = QProxyStyle::sizeFromContents(type, option, size, widget);
  // One line's height more: what the left column grows by, with room to spare.
  if (type == CT_MenuItem && option) out.rwidth() += option->fontMetrics.height();
  return out;
}

bool DialogFontFollower::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Polish || !watched->isWidgetType()) return false;
  auto* w = static_cast<QWidget*>(watched);
  if (!w->isWindow() || w->testAttribute(Qt::WA_SetFont) || !w->parentWidget()) return false;
  // Only Qt's own windows: the program's windows set their fonts themselves.
  // By class name: the print dialog's library need not be linked here.
  static constexpr const char* kQtWindows[] = {"QMessageBox", "QFileDialog", "QAbstractPrintDialog",
                                               "QInputDialog", "QMenu"};
  if (std::none_of(std::begin(kQtWindows), std::end(kQtWindows),
                   [&](const char* name) { return w->inherits(name); }))
    return false;
  w->setFont(w->parentWidget()->window()->font());
  return false;
}

}  // namespace sfigmo
