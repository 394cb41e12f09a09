// Message texts fitted to the screen: a long file name or a huge line from a
// file never makes a box wider than the screen; ordinary texts stay as they
// are.

#include "draw/message_text.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QStringList>

namespace sfigmo {
namespace {

TEST(MessageText, EveryLineFitsTheScreen) {
  const QFont font(QStringLiteral("Liberation Sans"), 8);
  const QFontMetrics fm(font);
  const QString name = QStringLiteral("/home/user/DataMLT/") + QString(125, QChar(0x0416)) +
                       QStringLiteral(".pul");  // 255 bytes of UTF-8 in the name
  struct Case {
    const char* what;
    QString text;
    bool unchanged;
  } cases[] = {
      {"ordinary", QStringLiteral("Не удалось открыть файл «x.pul»: нет места на диске"), true},
      {"long name", QStringLiteral("Не удалось открыть файл «%1»: нет прав доступа").arg(name),
       false},
      {"50 MB line", QStringLiteral("Строка: ") + QString(50 * 1024 * 1024, u'7'), false},
      {"many words", QString(QStringLiteral("слово ")).repeated(100000), false},
      {"many lines", QString(QStringLiteral("строка\n")).repeated(1000), false},
  };
  for (int screen : {800, 1280}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.what) + " on " + std::to_string(screen));
      const QString fitted = FitMessageText(c.text, font, screen);
      if (c.unchanged) EXPECT_EQ(fitted, c.text);
      const QStringList lines = fitted.split(u'\n');
      EXPECT_LE(lines.size(), 30);
      for (const QString& line : lines) {
        // No unbroken word wider than the box's text area; a paragraph at
        // most a few box widths, so the box wraps it into a few lines.
        for (const QString& word : line.split(u' '))
          EXPECT_LE(fm.horizontalAdvance(word), screen * 3 / 4);
        EXPECT_LE(fm.horizontalAdvance(line), screen * 3);
      }
    }
  }
}

}  // namespace
}  // namespace sfigmo
