#pragma once
// What Qt sizes on its own and a scaled window must size itself: the
// radio buttons' and check boxes' indicators, and the message boxes, file
// and print dialogs and pop-up menus a window opens (windows of their own,
// which do not inherit its font). Main thread only.

#include <QObject>
#include <QProxyStyle>

namespace sfigmo {

// The base style with its check and radio indicators `factor` times as
// large, so that they grow with a scaled font, and with menu entries wide
// enough for their text: the base style widens the entries' left column with
// the font but sizes them as if it did not, and then shortens the text
// ("П…ь"). Set it on the widgets that need it; they do not own it.
class ScaledControlStyle : public QProxyStyle {
 public:
  explicit ScaledControlStyle(double factor);
  int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr) const override;
  QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                         const QWidget* widget) const override;

 private:
  double factor_;
};

// Installed on the application: a message box, file or print dialog, input
// dialog or pop-up menu that has not been given a font of its own takes the
// font of the window it opens over when it is first shown.
class DialogFontFollower : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace sfigmo
