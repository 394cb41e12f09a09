#include "messaging/core/settings_line.h"

#include <QRegularExpression>

#include "messaging/core/port_names.h"

namespace sfigmo {

namespace {
constexpr int kPortIndex = 7;     // character 8, counted from 0
constexpr int kNumberIndex = 13;  // character 14
}  // namespace

QString SettingsPort(const QString& line) { return line.mid(kPortIndex, kPortFieldLength); }

QString SettingsNumber(const QString& line) { return line.mid(kNumberIndex, kNumberFieldLength); }

QString CutNumber(const QString& number) { return number.left(kNumberFieldLength); }

QString CheckNumber(const QString& number) {
  if (number.isEmpty())
    return QStringLiteral("Введите номер телефона врача: +7, код оператора и номер.");
  static const QRegularExpression valid(QStringLiteral("^\\+?[0-9]+$"));
  if (!valid.match(number).hasMatch()) {
    return QStringLiteral(
               "Номер телефона «%1» не записан: допускаются только знак + в начале и цифры, без "
               "пробелов.")
        .arg(number);
  }
  return {};
}

QString ReplaceNumber(const QString& line, const QString& number) {
  QString result = line;
  result.remove(kNumberIndex, kNumberFieldLength);
  result.insert(qMin(kNumberIndex, static_cast<int>(result.size())), CutNumber(number));
  return result;
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
