#pragma once
// The measurement run's sweep drawn on a canvas: the calibration's square
// wave in a wide red pen, the recording in a thin blue one, both in the
// canvas's own x pixels. Whoever shows the run supplies the canvas and the
// rest of RunSurface.

#include <optional>

#include "acquisition/measurement_run.h"
#include "draw/canvas.h"

namespace sfigmo {

class CanvasRunSurface : public RunSurface {
 public:
  virtual Canvas& canvas() = 0;

  void beginSweeps() override { deviceX_.emplace(canvas()); }
  void endSweeps() override { deviceX_.reset(); }
  void sweepPen(bool recording) override {
    canvas().setPenColor(recording ? colours::Blue : colours::Red);
    canvas().setPenWidth(recording ? 1 : 2);
  }
  void sweepMoveTo(int x, int y) override { canvas().moveTo(x, y); }
  void sweepLineTo(int x, int y) override { canvas().lineTo(x, y); }

 private:
  std::optional<DeviceXScope> deviceX_;
};

}  // namespace sfigmo
