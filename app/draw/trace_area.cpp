#include "draw/trace_area.h"

#include <QPainter>

namespace sfigmo {

TraceArea::TraceArea(int width, int height, QWidget* parent)
    : QWidget(parent),
      canvas_(std::make_unique<Canvas>(width, height, colours::Silver)),
      background_(colours::Silver) {
  setFixedSize(width, height);
  setAttribute(Qt::WA_OpaquePaintEvent);
  canvas_->setBrushColor(background_);
  canvas_->setChangedHandler([this] { update(); });
}

TraceArea::~TraceArea() = default;

void TraceArea::setBackground(const QColor& colour) {
  background_ = colour;
  canvas_->setBrushColor(colour);
}

void TraceArea::clear() {
  canvas_->clear(background_);
  canvas_->moveTo(0, 0);
  update();
}

void TraceArea::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, canvas_->image());
}

}  // namespace sfigmo
