#include "messaging/settings_line.h"

#include <QRegularExpression>
#include <algorithm>

#include "messaging/port_names.h"

namespace sfigmo {

namespace {
constexpr int kPortIndex = 7;     // character 8, counted from 0
constexpr int kNumberIndex = 13;  // character 14
}  // namespace

QString SettingsPort(const QString& line) { return line.mid(kPortIndex, kPortFieldLength); }

QString SettingsNumber(const QString& line) { return line.mid(kNumberIndex, kNumberFieldLength); }

QString CutNumber(const QString& number) { return number.left(kNumberFieldLength); }

NumberRefusal CheckNumber(const QString& number) {
  if (number.isEmpty()) return NumberRefusal::Empty;
  // Anchored at both ends: "$" alone would let a trailing line break through.
  static const QRegularExpression valid(
      QRegularExpression::anchoredPattern(QStringLiteral("\\+?[0-9]+")));
  if (!valid.match(number).hasMatch()) return NumberRefusal::BadCharacter;
  if (!number.startsWith(QLatin1Char('+'))) return NumberRefusal::NoPlus;
  const qsizetype digits = number.size() - 1;
  if (digits < kMinNumberDigits) return NumberRefusal::TooShort;
  if (digits > kMaxNumberDigits) return NumberRefusal::TooLong;
  return NumberRefusal::None;
}

namespace {

// Where the number now in the line ends: its "+digits" from character 14,
// then the blanks that pad it to 12 characters. Without digits there, the
// fixed field (characters 14-25).
int NumberFieldEnd(const QString& line) {
  const int fieldEnd = std::min<int>(kNumberIndex + kNumberFieldLength, line.size());
  int end = kNumberIndex;
  if (end < line.size() && line[end] == QLatin1Char('+')) ++end;
  const int digitsFrom = end;
  while (end < line.size() && line[end].isDigit()) ++end;
  if (end == digitsFrom) return fieldEnd;
  while (end < fieldEnd && line[end] == QLatin1Char(' ')) ++end;
  return end;
}

}  // namespace

QString ReplaceNumber(const QString& line, const QString& number) {
  const QString field = CutNumber(number).leftJustified(kNumberFieldLength, QLatin1Char(' '));
  if (line.size() < kNumberIndex) return line + field;
  QString tail = line.mid(NumberFieldEnd(line));
  // Text glued to the number is what an unpadded shorter number left
  // behind: the rest moved left, and a later longer number ate the blank
  // and the first dash of the option after it. Both are put back.
  if (!tail.isEmpty() && tail[0] != QLatin1Char(' ')) {
    const bool eatenDash = tail.size() > 1 && tail[0] == QLatin1Char('-') && tail[1].isLetter();
    tail.prepend(eatenDash ? QStringLiteral(" -") : QStringLiteral(" "));
  }
  return line.left(kNumberIndex) + field + tail;
}

QString ReplacePort(const QString& line, const QString& port) {
  QString result = line.leftJustified(kNumberIndex, QLatin1Char(' '));
  result.replace(kPortIndex, kPortFieldLength,
                 port.left(kPortFieldLength).leftJustified(kPortFieldLength, QLatin1Char(' ')));
  return result;
}

QStringList SettingsArguments(const QString& line) {
  static const QRegularExpression blanks(QStringLiteral("[ \\t]+"));
  return line.split(blanks, Qt::SkipEmptyParts);
}

}  // namespace sfigmo
