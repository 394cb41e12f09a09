#pragma once
// The drawn screens that need no window, rendered on a trace area of the
// design size times `scale`: the same pictures for the golden comparison,
// the scaling checks and the saved pictures.

#include <cmath>
#include <QImage>
#include <QRect>
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "analysis/screens/check_screen.h"
#include "analysis/screens/conclusion_screen.h"
#include "analysis/screens/results_screen.h"
#include "draw/canvas.h"
#include "screen_checks.h"

namespace sfigmo::test {

inline AnalysisResults TypicalResults() {
  AnalysisResults r;
  r.PULS = 72.4;
  r.VRKI = 0.1;
  r.KOVR = 5.5;
  r.SPSO = 0.075;
  r.NAGR = 0.09;
  r.DescentTime = 0.06;
  r.MeanInterval = 0.8;
  r.KOLP = 1;
  r.KOLE = 2;
  return r;
}

// A steady recording: one narrow beat every 40 samples.
inline PulsogramRecord SteadyRecording() {
  PulsogramRecord rec{};
  rec.SamplePeriod = 0.02;
  rec.SampleCount = 2000;
  for (int k = 20; k + 4 <= rec.SampleCount; k += 40) {
    const int depth = 60;
    const int shape[] = {-depth / 4, -depth / 2, -depth, -depth / 2, depth / 4, depth / 2, depth / 4};
    for (int i = 0; i < 7; ++i) rec.Samples[k - 3 + i] = shape[i];
  }
  return rec;
}

struct ScreenRender {
  const char* name;
  std::function<void(Canvas&, double scale)> draw;
  QColor background = colours::Silver;
  // False for traces whose width follows the window's own width.
  bool xScales = true;
};

// The trace area as the main window makes it at `scale`.
inline std::unique_ptr<Canvas> ScaledArea(double scale) {
  const DesignLayout m(scale);
  auto c = std::make_unique<Canvas>(m.px(kAreaWidth), m.px(kAreaHeight), colours::Silver);
  c->setLayout(m);
  return c;
}

// Smallest rectangle holding every pixel unlike `background`.
inline QRect DrawnBox(const Canvas& c, QColor background) {
  const QImage img = c.image().convertToFormat(QImage::Format_RGB32);
  const QRgb bg = background.rgb();
  int left = img.width(), top = img.height(), right = -1, bottom = -1;
  for (int y = 0; y < img.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    for (int x = 0; x < img.width(); ++x) {
      if ((line[x] & 0xFFFFFF) == (bg & 0xFFFFFF)) continue;
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
    }
  }
  return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// Outer width of the main window at `scale` (no frame offscreen).
inline int OuterWidthAt(double scale) { return int(std::lround(641 * scale)); }

inline const std::vector<ScreenRender>& CanvasScreens() {
  static const std::vector<ScreenRender> screens = {
      {"results", [](Canvas& c, double) { DrawResultsScreen(c, TypicalResults(), ','); }},
      {"conclusion",
       [](Canvas& c, double) {
         c.clear(colours::White);
         DrawConclusionTitle(c);
         DrawConclusionBody(c, TypicalResults(), TypicalResults(), ',');
       },
       colours::White},
      {"rejection", [](Canvas& c, double) { DrawRejection(c); }},
      {"check-frame",
       [](Canvas& c, double scale) {
         static const PulsogramRecord rec = SteadyRecording();
         MarkTable marks;
         MarkAndAccept(rec, marks);
         int cursor = 1;
         c.setPenColor(colours::Blue);
         DrawFrame(c, rec, marks, OuterWidthAt(scale), 1, cursor);
       },
       colours::Silver, false},
  };
  return screens;
}

}  // namespace sfigmo::test
