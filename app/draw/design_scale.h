#pragma once
// The 800-pixel design screen on a real monitor: one factor for a window's
// controls and for everything its screens draw at design coordinates, and
// the way back from the screen to the design for mouse positions.

#include <QPoint>
#include <QRect>
#include <QSize>

namespace sfigmo {

inline constexpr int kDesignScreenWidth = 800;
// What a window manager adds around a window (title bar, borders), allowed
// for when a window is fitted to the desktop and centred on it.
inline constexpr QSize kWindowDecoration(16, 40);

// Factor from the design screen to a screen of the given width (0: the
// primary screen's); exactly 1 at 800.
double DesignScale(int screenWidth);

// The factor a window of `designSize` (plus `decoration` pixels that do not
// scale: frame, title bar) gets on a screen `screenWidth` wide whose desktop
// leaves `available`: screen width / 800, lowered until the window fits, and
// never below 1 (the design size is the smallest the layout allows).
double FittedDesignScale(int screenWidth, QSize available, QSize designSize,
                         QSize decoration = {});

// The factor for a window of `designSize` created for a screen `screenWidth`
// wide: given a width (tests, one screen), that width / 800; otherwise the
// primary screen's, fitted to its available area.
double WindowDesignScale(int screenWidth, QSize designSize);

// Top-left corner that centres a window of outer size `outer` in
// `available`, kept inside it where it fits (top-left first otherwise).
QPoint CentredTopLeft(const QRect& available, QSize outer);

// Maps design coordinates to device pixels and back. Positions round to the
// nearest pixel, a half to the even one. `deviceX` keeps x as given, for
// traces whose horizontal extent already follows the window's width.
class DesignLayout {
 public:
  explicit DesignLayout(double scale = 1.0, bool deviceX = false)
      : scale_(scale), deviceX_(deviceX) {}

  double scale() const { return scale_; }
  bool identity() const { return scale_ == 1.0; }
  bool deviceX() const { return deviceX_; }
  DesignLayout withDeviceX(bool on) const { return DesignLayout(scale_, on); }

  int px(int design) const;  // a length or a y
  int x(int design) const { return deviceX_ ? design : px(design); }
  int y(int design) const { return px(design); }
  QRect rect(int left, int top, int width, int height) const;
  double points(double designPoints) const { return designPoints * scale_; }

  // Device pixels back to design units: positions rounded, extents rounded up
  // so that what they cover on the device is covered.
  int toDesignX(int device) const;
  int toDesignY(int device) const;
  QPoint toDesign(QPoint device) const { return {toDesignX(device.x()), toDesignY(device.y())}; }
  int extentX(int deviceExtent) const;
  int extentY(int deviceExtent) const;

 private:
  double scale_;
  bool deviceX_;
};

}  // namespace sfigmo
