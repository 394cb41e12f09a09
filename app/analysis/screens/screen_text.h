#pragma once
// The analysis screens' colour for a verdict, beside the shared text helpers.

#include "analysis/conclusion_rules.h"
#include "draw/screen_text.h"

namespace sfigmo::screens {

inline QColor ScreenColour(VerdictColour v) {
  switch (v) {
    case VerdictColour::Green:
      return colours::Green;
    case VerdictColour::Blue:
      return colours::Blue;
    case VerdictColour::Red:
      return colours::Red;
  }
  return colours::Black;
}

}  // namespace sfigmo::screens
