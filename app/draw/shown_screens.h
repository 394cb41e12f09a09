#pragma once
// Which screen the main window's trace area shows, so that a repaint can
// draw it again, and whether the conclusion has been shown since the last
// run. References into the window; main thread only.

namespace sfigmo {

struct ShownScreens {
  int& CheckViewShown;
  int& AnalysisViewShown;
  int& RegistrationViewShown;
  int& TrendViewShown;
  int& ConclusionShown;
};

}  // namespace sfigmo
