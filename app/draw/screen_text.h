#pragma once
// Text and shape helpers shared by the screens: every text sits on
// a white box in the main window's face, every outline is black.

#include <QString>
#include <string>

#include "draw/canvas.h"

namespace sfigmo::screens {

inline void SetFont(Canvas& c, int points, bool bold, QColor colour = colours::Black) {
  c.setFontFamily(WindowFontFamily());
  c.setFontSize(points);
  c.setFontBold(bold);
  c.setFontColor(colour);
}

inline void TextOnWhite(Canvas& c, int x, int y, const QString& text) {
  c.setBrushColor(colours::White);
  c.textOut(x, y, text);
}

inline void TextOnWhite(Canvas& c, int x, int y, const char* utf8) {
  TextOnWhite(c, x, y, QString::fromUtf8(utf8));
}

inline void TextOnWhite(Canvas& c, int x, int y, const std::string& utf8) {
  TextOnWhite(c, x, y, QString::fromStdString(utf8));
}

inline void BlackPen(Canvas& c) {
  c.setPenColor(colours::Black);
  c.setPenWidth(1);
  c.setPenStyle(Qt::SolidLine);
}

}  // namespace sfigmo::screens
