#pragma once
// The main window's trace area: a widget that shows a canvas image on which
// every screen draws in trace-area pixels from its top-left corner. Drawing
// only schedules a repaint of this widget; it never triggers the main
// window's screen replay. Main thread only.

#include <QColor>
#include <QWidget>
#include <memory>

#include "draw/canvas.h"

namespace sfigmo {

class TraceArea : public QWidget {
  Q_OBJECT

 public:
  TraceArea(int width, int height, QWidget* parent = nullptr);
  ~TraceArea() override;

  Canvas& canvas() { return *canvas_; }
  // Colour that clear() fills with (silver at start, the system window colour
  // after a passed sensor check).
  QColor background() const { return background_; }
  void setBackground(const QColor& colour);
  // Erases everything drawn and puts the drawing cursor at (0, 0).
  void clear();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::unique_ptr<Canvas> canvas_;
  QColor background_;
};

}  // namespace sfigmo
