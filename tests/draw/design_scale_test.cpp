// The design scale: the factor a window gets on each common screen (fitted
// to the desktop, never below the design size), centring, the mapping of
// design coordinates to pixels and back, and a canvas drawing through it.
#include "draw/design_scale.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

#include "draw/canvas.h"

namespace sfigmo {
namespace {

// The main window's client at the design size with its menu bar.
constexpr QSize kMainDesign(641, 354);
constexpr QSize kDecoration = kWindowDecoration;

struct FitCase {
  QSize screen;
  QSize available;
  double scale;
};

TEST(DesignScale, FittedToTheAvailableDesktopOnCommonScreens) {
  const FitCase cases[] = {
      {{800, 600}, {800, 570}, 1.0},        // the design screen
      {{640, 480}, {640, 450}, 1.0},        // smaller: the design size stays
      {{1280, 1024}, {1280, 994}, 1.6},     // width / 800
      {{1366, 768}, {1366, 738}, 1.7075},   // width / 800 fits
      {{1920, 1080}, {1920, 1050}, 2.4},    // width / 800 fits
      {{2560, 1440}, {2560, 1410}, 3.2},    // width / 800 fits
      {{3440, 1440}, {3440, 1410}, 3.87},   // ultra-wide: the height decides
  };
  for (const FitCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.screen.width()) + "x" + std::to_string(c.screen.height()));
    const double k = FittedDesignScale(c.screen.width(), c.available, kMainDesign, kDecoration);
    EXPECT_NEAR(k, c.scale, 1e-9);
    const QSize outer(DesignLayout(k).px(kMainDesign.width()) + kDecoration.width(),
                      DesignLayout(k).px(kMainDesign.height()) + kDecoration.height());
    if (k > 1.0) {
      EXPECT_LE(outer.width(), c.available.width());
      EXPECT_LE(outer.height(), c.available.height());
    }
  }
}

TEST(DesignScale, CentredAndKeptInsideTheAvailableArea) {
  const QRect avail(0, 30, 1920, 1050);  // a panel along the top
  EXPECT_EQ(CentredTopLeft(avail, QSize(1000, 500)), QPoint(460, 305));
  EXPECT_EQ(CentredTopLeft(avail, QSize(2000, 1200)), QPoint(0, 30));  // too big: top-left
}

struct MapCase {
  double scale;
  int design;
  int device;
};

TEST(DesignLayout, PositionsRoundHalfToEvenAndMapBack) {
  const MapCase cases[] = {
      {1.0, 625, 625}, {1.6, 625, 1000}, {2.4, 217, 521},  // 520.8
      {2.5, 1, 2},                                          // 2.5: the even 2
      {2.5, 3, 8},                                          // 7.5: the even 8
      {1.7075, 100, 171},
  };
  for (const MapCase& c : cases) {
    SCOPED_TRACE(c.scale);
    const DesignLayout m(c.scale);
    EXPECT_EQ(m.px(c.design), c.device);
    EXPECT_EQ(m.toDesignX(c.device), c.design);
    EXPECT_EQ(m.toDesignY(c.device), c.design);
    // An extent mapped back covers at least the device pixels it came from.
    EXPECT_GE(m.px(m.extentX(c.device)), c.device);
  }
  const DesignLayout sweep = DesignLayout(2.4).withDeviceX(true);
  EXPECT_EQ(sweep.x(300), 300);
  EXPECT_EQ(sweep.y(100), 240);
  EXPECT_EQ(sweep.toDesign(QPoint(300, 240)), QPoint(300, 100));
}

class ScaledCanvas : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char arg0[] = "test-draw";
    static char* argv[] = {arg0, nullptr};
    if (!QGuiApplication::instance()) new QGuiApplication(argc, argv);
  }
};

TEST_F(ScaledCanvas, ShapesPensAndTextFollowTheScale) {
  for (const double k : {1.0, 1.6, 2.4}) {
    SCOPED_TRACE(k);
    const DesignLayout m(k);
    Canvas c(m.px(100), m.px(60), colours::Silver);
    c.setLayout(m);
    c.setPenColor(colours::Black);
    c.setBrushColor(colours::Green);
    c.rectangle(10, 10, 20, 20);
    EXPECT_EQ(c.pixel(m.px(10), m.px(10)), colours::Black);
    EXPECT_EQ(c.pixel(m.px(15), m.px(15)), colours::Green);
    EXPECT_EQ(c.pixel(m.px(20), m.px(15)), colours::Silver);  // right edge still exclusive
    EXPECT_EQ(c.pixel(m.px(10) - 1, m.px(15)), colours::Silver);
    // A 1-pixel pen is as thick as the scale.
    c.setPenWidth(1);
    c.moveTo(30, 40);
    c.lineTo(90, 40);
    int thick = 0;
    for (int y = 0; y < c.height(); ++y) thick += c.pixel(m.px(60), y) == colours::Black;
    EXPECT_EQ(thick, m.px(1));
    // A magnified thick pen stays inside its box, right and bottom exclusive.
    if (k > 1.0) {
      c.setPenWidth(2);
      c.setBrushColor(colours::White);
      c.rectangle(40, 10, 60, 30);
      EXPECT_EQ(c.pixel(m.px(40), m.px(20)), colours::Black);
      EXPECT_EQ(c.pixel(m.px(40) - 1, m.px(20)), colours::Silver);
      EXPECT_EQ(c.pixel(m.px(60) - 1, m.px(20)), colours::Black);
      EXPECT_EQ(c.pixel(m.px(60), m.px(20)), colours::Silver);
      EXPECT_EQ(c.pixel(m.px(50), m.px(20)), colours::White);
      c.setPenWidth(1);
    }
    // Text extents come back in design units, about as at the design size.
    Canvas design(100, 60);
    EXPECT_NEAR(c.textWidth(QStringLiteral("ПУЛЬС 72")),
                design.textWidth(QStringLiteral("ПУЛЬС 72")), 3);
    EXPECT_NEAR(c.textHeight(QStringLiteral("П")), design.textHeight(QStringLiteral("П")), 2);
  }
}

TEST_F(ScaledCanvas, DeviceXScopeKeepsXInPixelsAndRestores) {
  const DesignLayout m(2.0);
  Canvas c(200, 200, colours::White);
  c.setLayout(m);
  c.setPenColor(colours::Blue);
  {
    const DeviceXScope sweep(c);
    c.moveTo(10, 20);
    c.lineTo(30, 20);
  }
  EXPECT_EQ(c.pixel(20, 40), colours::Blue);   // x as given, y doubled
  EXPECT_EQ(c.pixel(50, 40), colours::White);  // not at x doubled
  EXPECT_FALSE(c.layout().deviceX());
}

}  // namespace
}  // namespace sfigmo
