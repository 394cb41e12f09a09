#include "draw/design_scale.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>

namespace sfigmo {

double DesignScale(int screenWidth) {
  if (screenWidth <= 0) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    screenWidth = screen ? screen->geometry().width() : kDesignScreenWidth;
  }
  return screenWidth == kDesignScreenWidth ? 1.0 : double(screenWidth) / kDesignScreenWidth;
}

double FittedDesignScale(int screenWidth, QSize available, QSize designSize, QSize decoration) {
  double scale = DesignScale(screenWidth);
  if (designSize.isEmpty() || available.isEmpty()) return std::max(scale, 1.0);
  const double byWidth = double(available.width() - decoration.width()) / designSize.width();
  const double byHeight = double(available.height() - decoration.height()) / designSize.height();
  // A window whose buttons lie off the screen cannot be used.
  const double fits = std::min(byWidth, byHeight);
  // Lowered to whole hundredths, so that rounding never pushes it out again.
  if (fits < scale) scale = std::floor(fits * 100.0) / 100.0;
  return std::max(scale, 1.0);
}

double WindowDesignScale(int screenWidth, QSize designSize) {
  if (screenWidth > 0) return DesignScale(screenWidth);
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return 1.0;
  return FittedDesignScale(screen->geometry().width(), screen->availableGeometry().size(),
                           designSize, kWindowDecoration);
}

QPoint CentredTopLeft(const QRect& available, QSize outer) {
  const int x = available.left() + (available.width() - outer.width()) / 2;
  const int y = available.top() + (available.height() - outer.height()) / 2;
  return {std::max(x, available.left()), std::max(y, available.top())};
}

int DesignLayout::px(int design) const {
  if (scale_ == 1.0) return design;
  return static_cast<int>(std::nearbyint(design * scale_));
}

QRect DesignLayout::rect(int left, int top, int width, int height) const {
  return QRect(px(left), px(top), px(width), px(height));
}

int DesignLayout::toDesignX(int device) const {
  if (deviceX_ || scale_ == 1.0) return device;
  return static_cast<int>(std::nearbyint(device / scale_));
}

int DesignLayout::toDesignY(int device) const {
  if (scale_ == 1.0) return device;
  return static_cast<int>(std::nearbyint(device / scale_));
}

int DesignLayout::extentX(int deviceExtent) const {
  if (deviceX_ || scale_ == 1.0) return deviceExtent;
  return static_cast<int>(std::ceil(deviceExtent / scale_ - 1e-9));
}

int DesignLayout::extentY(int deviceExtent) const {
  if (scale_ == 1.0) return deviceExtent;
  return static_cast<int>(std::ceil(deviceExtent / scale_ - 1e-9));
}

}  // namespace sfigmo
