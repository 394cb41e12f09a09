#pragma once
// Message texts made to fit the screen: a message box widens to its longest
// unbroken word, so a 255-byte file name or a huge line read from a file
// would push its OK button off the screen. Main thread (font metrics).

#include <QFont>
#include <QString>

class QScreen;

namespace sfigmo {

// The usable width of `screen` (the primary screen when null; 800 without
// any screen).
int AvailableScreenWidth(const QScreen* screen);

// `text` with every word wider than a box may be on a screen
// `availableWidth` pixels wide elided in its middle ("…"), every line held
// to a few such widths and the whole to a few dozen lines. A text that fits
// comes back unchanged.
QString FitMessageText(const QString& text, const QFont& font, int availableWidth);

}  // namespace sfigmo
