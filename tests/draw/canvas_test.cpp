// The drawing surface: where shapes land (right and bottom exclusive),
// which colour fills and which outlines, and that Cyrillic text renders.
#include "draw/canvas.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <gtest/gtest.h>

namespace sfigmo {
namespace {

class CanvasTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char arg0[] = "test-draw";
    static char* argv[] = {arg0, nullptr};
    if (!QGuiApplication::instance()) app_ = new QGuiApplication(argc, argv);
  }
  static QGuiApplication* app_;
};
QGuiApplication* CanvasTest::app_ = nullptr;

TEST_F(CanvasTest, RectangleCoversLeftTopToRightBottomExclusive) {
  Canvas c(40, 40, colours::Silver);
  c.setPenColor(colours::Black);
  c.setBrushColor(colours::Green);
  c.rectangle(10, 10, 20, 20);
  EXPECT_EQ(c.pixel(10, 10), colours::Black);  // outline corner
  EXPECT_EQ(c.pixel(19, 19), colours::Black);  // last outlined pixel
  EXPECT_EQ(c.pixel(15, 15), colours::Green);  // filled inside
  EXPECT_EQ(c.pixel(20, 15), colours::Silver); // right edge is exclusive
  EXPECT_EQ(c.pixel(15, 20), colours::Silver);
  EXPECT_EQ(c.pixel(9, 15), colours::Silver);
}

TEST_F(CanvasTest, EllipseIsFilledAtItsCentreAndStaysInsideItsBox) {
  Canvas c(40, 40, colours::White);
  c.setPenColor(colours::Black);
  c.setBrushColor(colours::Cyan);
  c.ellipse(5, 5, 15, 15);  // 10 x 10 box at (5, 5)
  EXPECT_EQ(c.pixel(10, 10), colours::Cyan);
  for (int i = 0; i < 40; ++i) {
    EXPECT_EQ(c.pixel(i, 15), colours::White) << i;
    EXPECT_EQ(c.pixel(15, i), colours::White) << i;
    EXPECT_EQ(c.pixel(i, 4), colours::White) << i;
  }
}

TEST_F(CanvasTest, FrameRectDrawsInTheFillColourOnly) {
  Canvas c(30, 30, colours::Silver);
  c.setPenColor(colours::Red);
  c.setBrushColor(colours::Black);
  c.frameRect(5, 5, 25, 15);
  EXPECT_EQ(c.pixel(5, 5), colours::Black);
  EXPECT_EQ(c.pixel(24, 14), colours::Black);
  EXPECT_EQ(c.pixel(15, 10), colours::Silver);  // inside untouched
  EXPECT_EQ(c.pixel(25, 10), colours::Silver);
}

TEST_F(CanvasTest, LineToStartsAtTheCurrentPositionAndMovesIt) {
  Canvas c(30, 30, colours::White);
  c.setPenColor(colours::Blue);
  c.moveTo(2, 10);
  c.lineTo(20, 10);
  c.lineTo(20, 25);
  EXPECT_EQ(c.pixel(2, 10), colours::Blue);
  EXPECT_EQ(c.pixel(19, 10), colours::Blue);
  EXPECT_EQ(c.pixel(20, 20), colours::Blue);
  EXPECT_EQ(c.pixel(2, 12), colours::White);
}

TEST_F(CanvasTest, TextIsDrawnOnABoxOfTheFillColour) {
  Canvas c(200, 40, colours::Silver);
  c.setBrushColor(colours::White);
  c.setFontSize(10);
  c.setFontBold(true);
  const QString text = QStringLiteral("З А К Л Ю Ч Е Н И Е");
  c.textOut(5, 5, text);
  const int w = c.textWidth(text);
  const int h = c.textHeight(text);
  EXPECT_GT(w, 60);
  EXPECT_GE(h, 12);  // 10 pt at 96 dpi
  EXPECT_EQ(c.pixel(5, 5), colours::White);
  EXPECT_EQ(c.pixel(5 + w, 5), colours::Silver);
  int dark = 0;
  for (int x = 5; x < 5 + w; ++x)
    for (int y = 5; y < 5 + h; ++y) dark += c.pixel(x, y).value() < 100;
  EXPECT_GT(dark, 50) << "Cyrillic glyphs must render, not boxes or nothing";
}

TEST_F(CanvasTest, ClearFillsEverythingAndReportsTheChange) {
  Canvas c(10, 10, colours::White);
  int changes = 0;
  c.setChangedHandler([&] { ++changes; });
  c.clear(colours::Silver);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(c.pixel(0, 0), colours::Silver);
  EXPECT_EQ(c.pixel(9, 9), colours::Silver);
}

}  // namespace
}  // namespace sfigmo
