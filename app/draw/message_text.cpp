#include "draw/message_text.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QStringList>
#include <algorithm>

namespace sfigmo {
namespace {

// Room a box leaves beside its text (icon, margins, frame).
constexpr int kBoxChrome = 160;
constexpr int kMaxLinesPerParagraph = 4;
constexpr int kMaxLines = 30;
// Longer lines are cut before they are measured: measuring megabytes of text
// would freeze the window for nothing the box could show.
constexpr qsizetype kMeasuredChars = 4000;

QString CutForMeasuring(const QString& line) {
  if (line.size() <= kMeasuredChars) return line;
  return line.left(kMeasuredChars / 2) + QChar(0x2026) + line.right(kMeasuredChars / 4);
}

QString FitLine(const QString& line, const QFontMetrics& fm, int width) {
  QStringList words = CutForMeasuring(line).split(QLatin1Char(' '));
  for (QString& word : words) {
    if (fm.horizontalAdvance(word) > width) word = fm.elidedText(word, Qt::ElideMiddle, width);
  }
  const QString joined = words.join(QLatin1Char(' '));
  // A paragraph wraps in the box; beyond a few lines it is shortened too.
  return fm.elidedText(joined, Qt::ElideMiddle, width * kMaxLinesPerParagraph);
}

}  // namespace

int AvailableScreenWidth(const QScreen* screen) {
  if (!screen) screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry().width() : 800;
}

QString FitMessageText(const QString& text, const QFont& font, int availableWidth) {
  const QFontMetrics fm(font);
  const int width = std::max(120, availableWidth * 3 / 4 - kBoxChrome);
  QStringList lines = text.split(QLatin1Char('\n'));
  if (lines.size() > kMaxLines) {
    lines = lines.mid(0, kMaxLines - 1);
    lines << QString(QChar(0x2026));
  }
  for (QString& line : lines) line = FitLine(line, fm, width);
  return lines.join(QLatin1Char('\n'));
}

}  // namespace sfigmo
