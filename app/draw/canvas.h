#pragma once
// A drawing surface with the state model the screens are written for: a
// current pen (colour, width, style), fill colour and font, a current
// position for move/line, text drawn on a background of the fill colour,
// filled-and-outlined shapes, and frames drawn in the fill colour.
// Rectangles are given as left, top, right, bottom with right and bottom
// exclusive. It draws into a QImage it owns (screens) or onto any
// QPaintDevice passed in (printer, picture). Main thread only.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QRectF>
#include <QString>
#include <functional>

#include "draw/design_scale.h"

class QPaintDevice;
class QPainter;

namespace sfigmo {

namespace colours {
inline const QColor White{255, 255, 255};
inline const QColor Black{0, 0, 0};
inline const QColor Green{0, 255, 0};  // "lime"
inline const QColor Blue{0, 0, 255};
inline const QColor Red{255, 0, 0};
inline const QColor Cyan{0, 255, 255};  // "aqua"
inline const QColor Silver{192, 192, 192};
inline const QColor Yellow{255, 255, 0};
}  // namespace colours

// The face of the window and its drawn screens: Liberation Sans where
// installed (the layouts need its narrow widths), else the desktop default.
QString WindowFontFamily();
// Metric-compatible stand-in for "Arial" (Liberation Sans).
QString ReportFontFamily();
class Canvas {
 public:
  // Draws into an owned image of the given size, cleared to `background`.
  // Fonts are sized for 96 dots per inch, as the screen layout assumes.
  Canvas(int width, int height, QColor background = colours::Silver);
  // Draws onto an outside device (printer, picture); it must outlive the
  // canvas.
  explicit Canvas(QPaintDevice* device);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  const QImage& image() const { return image_; }
  int width() const;
  int height() const;

  // Screens draw at design coordinates; the layout maps them (and pens and
  // fonts) to the surface's pixels. Identity unless set.
  void setLayout(const DesignLayout& layout) { layout_ = layout; }
  const DesignLayout& layout() const { return layout_; }

  // Called after each drawing operation (the widget schedules a repaint).
  void setChangedHandler(std::function<void()> handler) { changed_ = std::move(handler); }

  // Pen, fill and font state. Text colour is the font's colour.
  void setPenColor(QColor c) { penColor_ = c; }
  void setPenWidth(int w) { penWidth_ = w; }
  void setPenStyle(Qt::PenStyle s) { penStyle_ = s; }
  void setBrushColor(QColor c) { brushColor_ = c; }
  void setFontFamily(const QString& family) { font_.setFamily(family); }
  void setFontSize(int points) { font_.setPointSize(points); }
  void setFontBold(bool bold) { font_.setBold(bold); }
  void setFontColor(QColor c) { fontColor_ = c; }
  QColor penColor() const { return penColor_; }
  int penWidth() const { return penWidth_; }
  const QFont& font() const { return font_; }
  QColor fontColor() const { return fontColor_; }

  void moveTo(int x, int y);
  void lineTo(int x, int y);
  // Text with its top-left at (x, y), on a box of the fill colour.
  void textOut(int x, int y, const QString& text);
  // Extents in design units: the same at every scale.
  int textWidth(const QString& text) const;
  int textHeight(const QString& text) const;
  void rectangle(int left, int top, int right, int bottom);
  void roundRect(int left, int top, int right, int bottom, int cornerW, int cornerH);
  void ellipse(int left, int top, int right, int bottom);
  void frameRect(int left, int top, int right, int bottom);
  void fillRect(int left, int top, int right, int bottom);
  // Fills the whole surface with `colour`.
  void clear(QColor colour);

  // Colour of one pixel in device pixels (owned image only; tests and the
  // pixel checks).
  QColor pixel(int x, int y) const { return image_.pixelColor(x, y); }

 private:
  template <typename Draw>
  void paint(Draw&& draw);
  QPen currentPen() const;
  int penWidthOnDevice() const;
  bool magnifiedPen() const;
  QRectF outlineBox(const QRect& box) const;
  QRect deviceBox(int left, int top, int right, int bottom) const;
  QPaintDevice* target() const;

  QImage image_;
  QPaintDevice* device_ = nullptr;
  std::function<void()> changed_;
  QColor penColor_ = colours::Black;
  int penWidth_ = 1;
  Qt::PenStyle penStyle_ = Qt::SolidLine;
  QColor brushColor_ = colours::White;
  QColor fontColor_ = colours::Black;
  QFont font_;  // design size: texts are magnified whole
  DesignLayout layout_;
  int posX_ = 0;
  int posY_ = 0;
};

// While alive, x coordinates on `canvas` are device pixels (y, pens and fonts
// still follow the design scale): for traces whose width the window's own
// width already sets.
class DeviceXScope {
 public:
  explicit DeviceXScope(Canvas& canvas) : canvas_(canvas), saved_(canvas.layout()) {
    canvas_.setLayout(saved_.withDeviceX(true));
  }
  ~DeviceXScope() { canvas_.setLayout(saved_); }
  DeviceXScope(const DeviceXScope&) = delete;
  DeviceXScope& operator=(const DeviceXScope&) = delete;

 private:
  Canvas& canvas_;
  DesignLayout saved_;
};

}  // namespace sfigmo
