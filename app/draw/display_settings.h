#pragma once
// How this desktop shows numbers and windows: made once at program start
// and handed to every window, so that all of them agree.

namespace sfigmo {

struct DisplaySettings {
  // The decimal separator of every number shown, printed or sent, as the
  // user's language writes it.
  char DecimalSeparator = '.';
  // The screen width the windows' 800-pixel design is scaled to; 0: the
  // primary screen's.
  int ScreenWidth = 0;
};

}  // namespace sfigmo
