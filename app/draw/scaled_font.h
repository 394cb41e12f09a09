#pragma once
// A window's font at its design scale.

#include <QFont>

#include "draw/design_scale.h"

namespace sfigmo {

// `font` with its point size multiplied by the layout's factor.
inline QFont ScaledFont(QFont font, const DesignLayout& layout) {
  font.setPointSizeF(layout.points(font.pointSizeF()));
  return font;
}

}  // namespace sfigmo
