#pragma once
// What the screen tests look at: a pixel's colour, and whether a text sits
// at its place (compared with a canvas on which only that text is drawn).

#include <gtest/gtest.h>

#include <QDir>
#include <QString>

#include "draw/canvas.h"

namespace sfigmo::test {

inline constexpr int kAreaWidth = 625;
inline constexpr int kAreaHeight = 217;

struct TextStyle {
  int points = 8;
  bool bold = false;
  QColor colour = colours::Black;
};

// True when the box of `text` at (x, y) on `c` holds exactly what drawing
// that text alone, on white, in `style`, gives. Positions are design
// coordinates, mapped through the canvas's own layout.
inline ::testing::AssertionResult TextAt(const Canvas& c, int x, int y, const QString& text,
                                         TextStyle style = {}) {
  Canvas ref(c.width(), c.height(), colours::Silver);
  ref.setLayout(c.layout());  // the same design scale: the text at its scaled place
  ref.setFontFamily(WindowFontFamily());
  ref.setFontSize(style.points);
  ref.setFontBold(style.bold);
  ref.setFontColor(style.colour);
  ref.setBrushColor(colours::White);
  ref.textOut(x, y, text);
  // The text's box is the white the reference filled on its silver; the
  // smoothing of a glyph that reaches past it depends on what lay beneath.
  QRect box;
  for (int yy = 0; yy < ref.height(); ++yy)
    for (int xx = 0; xx < ref.width(); ++xx)
      if (ref.pixel(xx, yy) == colours::White) box |= QRect(xx, yy, 1, 1);
  if (box.isEmpty()) return ::testing::AssertionFailure() << "nothing drawn";
  for (int yy = box.top(); yy <= box.bottom(); ++yy)
    for (int xx = box.left(); xx <= box.right(); ++xx)
      if (c.pixel(xx, yy) != ref.pixel(xx, yy))
        return ::testing::AssertionFailure()
               << "\"" << text.toStdString() << "\" differs at (" << xx << ", " << yy << ")";
  return ::testing::AssertionSuccess();
}

inline void SaveScreenshot(const Canvas& c, const QString& name) {
  QDir().mkpath(QStringLiteral(SFIGMO_SCREENSHOT_DIR));
  c.image().save(QStringLiteral(SFIGMO_SCREENSHOT_DIR "/") + name + QStringLiteral(".png"));
}

}  // namespace sfigmo::test
