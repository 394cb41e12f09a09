#include "messaging/screens/messaging_texts.h"

namespace sfigmo {

namespace {

QString SettingsMissingText(const QString& path, const QString& reason) {
  return QStringLiteral("Нет файла настроек телефона %1: %2.").arg(path, reason);
}

}  // namespace

QString MessagingErrorText(const MessagingError& e) {
  switch (e.Failure) {
    case MessagingFailure::None:
      return {};
    case MessagingFailure::SettingsNotFound:
      return SettingsMissingText(e.Path, QStringLiteral("файл не найден"));
    case MessagingFailure::SettingsUnreadable:
      return SettingsMissingText(e.Path, e.SystemReason);
    case MessagingFailure::FileWrite:
      return QStringLiteral("Не удалось записать файл %1: %2.")
          .arg(e.Path, QString::fromStdString(FileErrorReason(e.Errno)));
    case MessagingFailure::SettingsCopy:
      return QStringLiteral("Не удалось скопировать %1 в %2.").arg(e.Source, e.Path);
    case MessagingFailure::NoMeasurement:
      return QStringLiteral(
          "Нет сохраненного измерения. Сначала сохраните измерение (Файл → Сохр) или откройте "
          "сохраненное (Файл → Откр), затем откройте это окно снова.");
    case MessagingFailure::ShortSettingsLine:
      return QStringLiteral(
          "В файле telport.txt (папка программы) первая строка короче 25 символов: в ней нет "
          "порта (символы 8–13) или номера телефона (символы 14–25).");
    case MessagingFailure::RecordUnreadable:
      return QString::fromStdString(StorageErrorText(e.Record));
    case MessagingFailure::ResultsDamaged:
      return QStringLiteral(
          "Результаты последнего измерения в файле повреждены: SMS не составляется и не "
          "отправляется. Откройте измерение, выполните проверку и расчёт и сохраните его снова.");
    case MessagingFailure::NotAccepted:
      return QStringLiteral(
                 "Последнее измерение не принято (%1): SMS не составляется и не "
                 "отправляется. Повторите измерение и сохраните его.")
          .arg(e.Reason);
    case MessagingFailure::SignalDoubtful:
      return QStringLiteral(
                 "%1. Результаты последнего измерения сомнительны: SMS не "
                 "отправляется. Повторите измерение и сохраните его.")
          .arg(e.Reason);
  }
  return {};
}

QString NumberRefusalText(NumberRefusal refusal, const QString& number) {
  switch (refusal) {
    case NumberRefusal::None:
      return {};
    case NumberRefusal::Empty:
      return QStringLiteral("Введите номер телефона врача: +7, код оператора и номер.");
    case NumberRefusal::TooLong:
      return QStringLiteral(
                 "Номер телефона «%1» не записан: после знака + в нём больше %2 цифр. Введите +7, "
                 "код оператора и семизначный номер без пробелов.")
          .arg(number)
          .arg(kMaxNumberDigits);
    case NumberRefusal::NoPlus:
      return QStringLiteral(
                 "Номер телефона «%1» не записан: он должен начинаться со знака + и кода страны "
                 "(например, +7 вместо 8).")
          .arg(number);
    case NumberRefusal::TooShort:
      return QStringLiteral(
                 "Номер телефона «%1» не записан: после знака + нужно от %2 до %3 цифр: код "
                 "страны, код оператора и номер.")
          .arg(number)
          .arg(kMinNumberDigits)
          .arg(kMaxNumberDigits);
    case NumberRefusal::BadCharacter:
      return QStringLiteral(
                 "Номер телефона «%1» не записан: допускаются только знак + в начале и цифры, без "
                 "пробелов.")
          .arg(number);
  }
  return {};
}

}  // namespace sfigmo
