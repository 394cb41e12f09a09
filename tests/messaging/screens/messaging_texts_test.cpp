// What the user reads for each messaging failure, word for word.

#include "messaging/screens/messaging_texts.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace sfigmo {
namespace {

// One failure about `path` with one more detail set by `add`.
template <typename Add>
MessagingError Failed(MessagingFailure failure, const char* path, Add add) {
  MessagingError e = MessagingFailed(failure, QString::fromUtf8(path));
  add(e);
  return e;
}
MessagingError Failed(MessagingFailure failure, const char* path = "") {
  return Failed(failure, path, [](MessagingError&) {});
}

TEST(MessagingTexts, EveryFailureSaysItsText) {
  using F = MessagingFailure;
  const StorageError shortRecord{StorageFailure::TooShort, 0, "/p/a.pul", 12};
  struct Case {
    MessagingError error;
    QString expected;
  } cases[] = {
      {MessagingError{}, {}},
      {Failed(F::SettingsNotFound, "/p/telport.txt"),
       QStringLiteral("Нет файла настроек телефона /p/telport.txt: файл не найден.")},
      {Failed(F::SettingsUnreadable, "/p/telport.txt",
              [](MessagingError& e) { e.SystemReason = QStringLiteral("Permission denied"); }),
       QStringLiteral("Нет файла настроек телефона /p/telport.txt: Permission denied.")},
      {Failed(F::FileWrite, "/p/sms.txt", [](MessagingError& e) { e.Errno = ENOSPC; }),
       QStringLiteral("Не удалось записать файл /p/sms.txt: ") +
           QString::fromStdString(FileErrorReason(ENOSPC)) + u'.'},
      {Failed(F::SettingsCopy, "/p/telport.txt",
              [](MessagingError& e) { e.Source = QStringLiteral("/bin/telport.txt"); }),
       QStringLiteral("Не удалось скопировать /bin/telport.txt в /p/telport.txt.")},
      {Failed(F::NoMeasurement),
       QStringLiteral("Нет сохраненного измерения. Сначала сохраните измерение (Файл → Сохр) или "
                      "откройте сохраненное (Файл → Откр), затем откройте это окно снова.")},
      {Failed(F::ShortSettingsLine, "/p/telport.txt"),
       QStringLiteral("В файле telport.txt (папка программы) первая строка короче 25 символов: в "
                      "ней нет порта (символы 8–13) или номера телефона (символы 14–25).")},
      {Failed(F::RecordUnreadable, "/p/a.pul", [&](MessagingError& e) { e.Record = shortRecord; }),
       QString::fromStdString(StorageErrorText(shortRecord))},
      {Failed(F::ResultsDamaged, "/p/a.pul"),
       QStringLiteral("Результаты последнего измерения в файле повреждены: SMS не составляется и "
                      "не отправляется. Откройте измерение, выполните проверку и расчёт и "
                      "сохраните его снова.")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.error.Failure));
    EXPECT_EQ(MessagingErrorText(c.error), c.expected);
  }
}

TEST(MessagingTexts, EveryNumberRefusalNamesTheNumber) {
  const QString number = QStringLiteral("+7 916");
  struct Case {
    NumberRefusal refusal;
    QString expected;
  } cases[] = {
      {NumberRefusal::None, {}},
      {NumberRefusal::Empty,
       QStringLiteral("Введите номер телефона врача: +7, код оператора и номер.")},
      {NumberRefusal::TooLong,
       QStringLiteral("Номер телефона «+7 916» не записан: после знака + в нём больше 11 цифр. "
                      "Введите +7, код оператора и семизначный номер без пробелов.")},
      {NumberRefusal::NoPlus,
       QStringLiteral("Номер телефона «+7 916» не записан: он должен начинаться со знака + и "
                      "кода страны (например, +7 вместо 8).")},
      {NumberRefusal::TooShort,
       QStringLiteral("Номер телефона «+7 916» не записан: после знака + нужно от 10 до 11 цифр: "
                      "код страны, код оператора и номер.")},
      {NumberRefusal::BadCharacter,
       QStringLiteral("Номер телефона «+7 916» не записан: допускаются только знак + в начале и "
                      "цифры, без пробелов.")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.refusal));
    EXPECT_EQ(NumberRefusalText(c.refusal, number), c.expected);
  }
}

}  // namespace
}  // namespace sfigmo
