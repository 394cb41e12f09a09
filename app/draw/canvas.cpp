#include "draw/canvas.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QTransform>
#include <algorithm>

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
  pen.setWidth(penWidthOnDevice());
  pen.setStyle(penStyle_);
  pen.setCapStyle(Qt::FlatCap);
  pen.setJoinStyle(Qt::MiterJoin);
  return pen;
}

QPaintDevice* Canvas::target() const {
  return device_ ? device_ : const_cast<QImage*>(&image_);
}

template <typename Draw>
void Canvas::paint(Draw&& draw) {
  QPainter p(target());
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
  const DesignLayout& m = layout_;
  paint([&](QPainter& p) {
    p.setPen(currentPen());
    p.drawLine(m.x(x0), m.y(y0), m.x(x), m.y(y));
  });
  posX_ = x;
  posY_ = y;
}

void Canvas::textOut(int x, int y, const QString& text) {
  const int dx = layout_.x(x), dy = layout_.y(y);
  const double k = layout_.scale();
  paint([&](QPainter& p) {
    p.setFont(font_);
    const QFontMetrics fm(font_, p.device());
    if (k == 1.0) {
      p.fillRect(QRect(dx, dy, fm.horizontalAdvance(text), fm.height()), brushColor_);
      p.setPen(fontColor_);
      p.drawText(dx, dy + fm.ascent(), text);
      return;
    }
    // Laid out as on the design screen and magnified whole, so a text takes
    // the same share of the area at every scale.
    QTransform magnify;
    magnify.translate(dx, dy);
    magnify.scale(k, k);
    // The box takes every pixel the magnified text touches, so that drawing
    // the same text again over it gives the same pixels.
    p.fillRect(magnify.mapRect(QRectF(0, 0, fm.horizontalAdvance(text), fm.height())).toAlignedRect(),
               brushColor_);
    p.setTransform(magnify);
    p.setPen(fontColor_);
    p.drawText(0, fm.ascent(), text);
  });
  posX_ = x + textWidth(text);
  posY_ = y;
}

// Extents as on the design screen, whatever the scale.
int Canvas::textWidth(const QString& text) const {
  return QFontMetrics(font_, target()).horizontalAdvance(text);
}

int Canvas::textHeight(const QString& /*text*/) const {
  return QFontMetrics(font_, target()).height();
}

int Canvas::penWidthOnDevice() const { return std::max(layout_.px(penWidth_), 1); }

bool Canvas::magnifiedPen() const { return !layout_.identity() && penWidthOnDevice() > 1; }

// The path a pen follows. A magnified pen's whole width lies inside `box`, as
// the one-pixel pen of the design screen does; otherwise shapes are drawn
// exactly as they always were.
QRectF Canvas::outlineBox(const QRect& box) const {
  const int w = penWidthOnDevice();
  if (!magnifiedPen()) return QRectF(box.left(), box.top(), box.width() - 1, box.height() - 1);
  return QRectF(box.left() + w / 2.0, box.top() + w / 2.0, box.width() - w, box.height() - w);
}

QRect Canvas::deviceBox(int left, int top, int right, int bottom) const {
  const int l = layout_.x(left), t = layout_.y(top);
  return QRect(l, t, layout_.x(right) - l, layout_.y(bottom) - t);
}

// Outlined shapes cover left..right-1, top..bottom-1, outline included.
void Canvas::rectangle(int left, int top, int right, int bottom) {
  const QRect box = deviceBox(left, top, right, bottom);
  paint([&](QPainter& p) {
    p.setPen(currentPen());
    p.setBrush(brushColor_);
    if (magnifiedPen())
      p.drawRect(outlineBox(box));
    else
      p.drawRect(QRect(box.left(), box.top(), box.width() - 1, box.height() - 1));
  });
}

void Canvas::roundRect(int left, int top, int right, int bottom, int cornerW, int cornerH) {
  const QRect box = deviceBox(left, top, right, bottom);
  const double rx = layout_.px(cornerW) / 2.0, ry = layout_.px(cornerH) / 2.0;
  paint([&](QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(currentPen());
    p.setBrush(brushColor_);
    p.drawRoundedRect(outlineBox(box), rx, ry);
  });
}

void Canvas::ellipse(int left, int top, int right, int bottom) {
  const QRect box = deviceBox(left, top, right, bottom);
  paint([&](QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(currentPen());
    p.setBrush(brushColor_);
    if (magnifiedPen())
      p.drawEllipse(outlineBox(box));
    else
      p.drawEllipse(QRect(box.topLeft(), QPoint(box.right() - 1, box.bottom() - 1)));
  });
}

void Canvas::frameRect(int left, int top, int right, int bottom) {
  const QRect box = deviceBox(left, top, right, bottom);
  const int line = std::max(layout_.px(1), 1);
  paint([&](QPainter& p) {
    const QColor c = brushColor_;
    p.fillRect(QRect(box.left(), box.top(), box.width(), line), c);
    p.fillRect(QRect(box.left(), box.bottom() + 1 - line, box.width(), line), c);
    p.fillRect(QRect(box.left(), box.top(), line, box.height()), c);
    p.fillRect(QRect(box.right() + 1 - line, box.top(), line, box.height()), c);
  });
}

void Canvas::fillRect(int left, int top, int right, int bottom) {
  const QRect box = deviceBox(left, top, right, bottom);
  paint([&](QPainter& p) { p.fillRect(box, brushColor_); });
}

void Canvas::clear(QColor colour) {
  paint([&](QPainter& p) { p.fillRect(QRect(0, 0, width(), height()), colour); });
}

}  // namespace sfigmo
