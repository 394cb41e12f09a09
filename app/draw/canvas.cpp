#include "draw/canvas.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QScreen>

namespace sfigmo {

namespace {
constexpr int kDotsPerMeter96Dpi = 3780;  // 96 dpi: 8 pt is 11 px, as on the design screen
}

// The pixel layouts were made for a narrow 8-point face; the usual desktop
// default (DejaVu Sans) is about 15 % wider and runs labels into the values
// drawn after them. Liberation Sans keeps Arial's narrower widths.
QString WindowFontFamily() {
  static const QString family =
      QFontDatabase::hasFamily(QStringLiteral("Liberation Sans"))
          ? QStringLiteral("Liberation Sans")
          : QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
  return family;
}

QString ReportFontFamily() { return QStringLiteral("Liberation Sans"); }

double DesignScale(int screenWidth) {
  constexpr int kDesignScreenWidth = 800;
  if (screenWidth <= 0) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    screenWidth = screen ? screen->geometry().width() : kDesignScreenWidth;
  }
  return screenWidth == kDesignScreenWidth ? 1.0 : double(screenWidth) / kDesignScreenWidth;
}

Canvas::Canvas(int width, int height, QColor background)
    : image_(width, height, QImage::Format_RGB32) {
  image_.setDotsPerMeterX(kDotsPerMeter96Dpi);
  image_.setDotsPerMeterY(kDotsPerMeter96Dpi);
  image_.fill(background);
  font_.setFamily(WindowFontFamily());
  font_.setPointSize(8);
}

Canvas::Canvas(QPaintDevice* device) : device_(device) {
  font_.setFamily(WindowFontFamily());
  font_.setPointSize(8);
}

Canvas::~Canvas() = default;

int Canvas::width() const { return device_ ? device_->width() : image_.width(); }
int Canvas::height() const { return device_ ? device_->height() : image_.height(); }

QPen Canvas::currentPen() const {
  QPen pen(penColor_);
  pen.setWidth(penWidth_ < 1 ? 1 : penWidth_);
  pen.setStyle(penStyle_);
  pen.setCapStyle(Qt::FlatCap);
  pen.setJoinStyle(Qt::MiterJoin);
  return pen;
}

template <typename Draw>
void Canvas::paint(Draw&& draw) {
  QPaintDevice* target = device_ ? device_ : static_cast<QPaintDevice*>(&image_);
  QPainter p(target);
  draw(p);
  p.end();
  if (changed_) changed_();
}

void Canvas::moveTo(int x, int y) {
  posX_ = x;
  posY_ = y;
}

void Canvas::lineTo(int x, int y) {
  const int x0 = posX_, y0 = posY_;
  paint([&](QPainter& p) {
    p.setPen(currentPen());
    p.drawLine(x0, y0, x, y);
  });
  posX_ = x;
  posY_ = y;
}

void Canvas::textOut(int x, int y, const QString& text) {
  paint([&](QPainter& p) {
    p.setFont(font_);
    const QFontMetrics fm(font_, p.device());
    const QRect box(x, y, fm.horizontalAdvance(text), fm.height());
    p.fillRect(box, brushColor_);
    p.setPen(fontColor_);
    p.drawText(x, y + fm.ascent(), text);
  });
  posX_ = x + textWidth(text);
  posY_ = y;
}

int Canvas::textWidth(const QString& text) const {
  QPaintDevice* target = device_ ? device_ : const_cast<QImage*>(&image_);
  return QFontMetrics(font_, target).horizontalAdvance(text);
}

int Canvas::textHeight(const QString& /*text*/) const {
  QPaintDevice* target = device_ ? device_ : const_cast<QImage*>(&image_);
  return QFontMetrics(font_, target).height();
}

// Outlined shapes cover left..right-1, top..bottom-1, outline included.
void Canvas::rectangle(int left, int top, int right, int bottom) {
  paint([&](QPainter& p) {
    p.setPen(currentPen());
    p.setBrush(brushColor_);
    p.drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
  });
}

void Canvas::roundRect(int left, int top, int right, int bottom, int cornerW, int cornerH) {
  paint([&](QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(currentPen());
    p.setBrush(brushColor_);
    p.drawRoundedRect(QRectF(left, top, right - left - 1, bottom - top - 1), cornerW / 2.0,
                      cornerH / 2.0);
  });
}

void Canvas::ellipse(int left, int top, int right, int bottom) {
  paint([&](QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(currentPen());
    p.setBrush(brushColor_);
    p.drawEllipse(QRect(QPoint(left, top), QPoint(right - 2, bottom - 2)));
  });
}

void Canvas::frameRect(int left, int top, int right, int bottom) {
  paint([&](QPainter& p) {
    const QColor c = brushColor_;
    p.fillRect(QRect(left, top, right - left, 1), c);
    p.fillRect(QRect(left, bottom - 1, right - left, 1), c);
    p.fillRect(QRect(left, top, 1, bottom - top), c);
    p.fillRect(QRect(right - 1, top, 1, bottom - top), c);
  });
}

void Canvas::fillRect(int left, int top, int right, int bottom) {
  paint(
      [&](QPainter& p) { p.fillRect(QRect(left, top, right - left, bottom - top), brushColor_); });
}

void Canvas::clear(QColor colour) {
  paint([&](QPainter& p) { p.fillRect(QRect(0, 0, width(), height()), colour); });
}

}  // namespace sfigmo
