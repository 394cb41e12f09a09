// The drawn screens on trace areas of every common width: identical to the
// design pictures at 800 pixels, and the same picture scaled elsewhere.
#include <QImage>

#include "screen_renders.h"

namespace sfigmo {
namespace {

using test::CanvasScreens;
using test::DrawnBox;
using test::ScaledArea;
using test::TextAt;
using test::TextStyle;

// Trace-area scales of the common screen widths.
constexpr double kScales[] = {1366 / 800.0, 1920 / 800.0, 2560 / 800.0};

QString GoldenPath(const char* name) {
  return QStringLiteral(SFIGMO_GOLDEN_SCREENS_DIR "/") + QLatin1String(name) +
         QStringLiteral(".png");
}

TEST(ScaledScreens, At800EveryScreenIsTheDesignPicture) {
  for (const auto& screen : CanvasScreens()) {
    SCOPED_TRACE(screen.name);
    auto c = ScaledArea(1.0);
    screen.draw(*c, 1.0);
    const QImage drawn = c->image().convertToFormat(QImage::Format_RGB32);
    // SFIGMO_WRITE_GOLDEN=1 records the pictures after a deliberate change.
    if (qEnvironmentVariableIsSet("SFIGMO_WRITE_GOLDEN")) drawn.save(GoldenPath(screen.name));
    const QImage golden = QImage(GoldenPath(screen.name)).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(golden.isNull()) << GoldenPath(screen.name).toStdString();
    EXPECT_TRUE(drawn == golden);
  }
}

TEST(ScaledScreens, EachScreenCoversTheSameShareOfTheAreaAtEveryWidth) {
  for (const auto& screen : CanvasScreens()) {
    auto design = ScaledArea(1.0);
    screen.draw(*design, 1.0);
    const QRect at800 = DrawnBox(*design, screen.background);
    ASSERT_FALSE(at800.isEmpty()) << screen.name;
    for (const double k : kScales) {
      SCOPED_TRACE(std::string(screen.name) + " at " + std::to_string(k));
      auto c = ScaledArea(k);
      screen.draw(*c, k);
      const QRect box = DrawnBox(*c, screen.background);
      // Edges of the 800-pixel content times the scale (right and bottom are
      // the far sides of their last pixels). A glyph's smoothed edge may end
      // anywhere within its last design pixel: up to the scale itself.
      const double tolerance = std::max(2.0, k);
      EXPECT_NEAR(box.top(), at800.top() * k, tolerance);
      EXPECT_NEAR(box.bottom() + 1, (at800.bottom() + 1) * k, tolerance);
      if (screen.xScales) {
        EXPECT_NEAR(box.left(), at800.left() * k, tolerance);
        EXPECT_NEAR(box.right() + 1, (at800.right() + 1) * k, tolerance);
      }
    }
  }
}

struct PlacedText {
  const char* screen;
  int x, y;
  const char* text;
  TextStyle style;
};

TEST(ScaledScreens, TextsSitAtTheirScaledPlaces) {
  const PlacedText texts[] = {
      {"results", 480, 83, "18,75", {}},
      {"results", 160, 43, "72,4", {}},
      {"conclusion", 160, 5, "З А К Л Ю Ч Е Н И Е ", {10, true}},
      {"conclusion", 380, 155, "Подробнее смотри в меню СПРАВКА", {}},
      {"rejection", 150, 75, "ВОЗМОЖНЫЕ ПРИЧИНЫ:", {10, false}},
  };
  for (const double k : {1.0, kScales[0], kScales[1], kScales[2]}) {
    for (const auto& screen : CanvasScreens()) {
      auto c = ScaledArea(k);
      screen.draw(*c, k);
      for (const PlacedText& t : texts) {
        if (std::string(t.screen) != screen.name) continue;
        EXPECT_TRUE(TextAt(*c, t.x, t.y, QString::fromUtf8(t.text), t.style))
            << screen.name << " at " << k;
      }
    }
  }
}

TEST(ScaledScreens, SavedAt1920ForALook) {
  for (const auto& screen : CanvasScreens()) {
    auto c = ScaledArea(2.4);
    screen.draw(*c, 2.4);
    test::SaveScreenshot(*c, QStringLiteral("scaled-1920-") + QLatin1String(screen.name));
  }
}

}  // namespace
}  // namespace sfigmo
