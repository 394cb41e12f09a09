// What the print window says for each report failure, word for word.

#include "report/screens/report_texts.h"

#include <gtest/gtest.h>

namespace sfigmo {
namespace {

TEST(ReportTexts, EveryFailureSaysItsText) {
  using F = ReportFailure;
  const QString lib = QStringLiteral("/bin/libdspdf.so");
  const QString pdf = QStringLiteral("/p/PDF/x.pdf");
  ReportError unreadable = ReportFailed(F::RecordUnreadable, QStringLiteral("/p/x.pul"));
  unreadable.Record = StorageError{StorageFailure::TooShort, 0, "/p/x.pul", 12};
  struct Case {
    ReportError error;
    QString expected;
  } cases[] = {
      {ReportError{}, {}},
      {unreadable, QString::fromStdString(StorageErrorText(unreadable.Record))},
      {ReportFailed(F::PdfMakerMissing, lib, QStringLiteral("cannot open shared object file")),
       QStringLiteral("Не удалось загрузить библиотеку создания PDF «/bin/libdspdf.so»: cannot "
                      "open shared object file. PDF не создан.")},
      {ReportFailed(F::PdfMakerMissing, lib),
       QStringLiteral("Не удалось загрузить библиотеку создания PDF «/bin/libdspdf.so»: причина "
                      "неизвестна. PDF не создан.")},
      {ReportFailed(F::PdfMakerFunction, lib, QStringLiteral("EndDoc")),
       QStringLiteral(
           "В библиотеке создания PDF «/bin/libdspdf.so» нет функции «EndDoc». PDF не создан.")},
      {ReportFailed(F::PdfMakerRefused, pdf),
       QStringLiteral(
           "Не удалось создать PDF «/p/PDF/x.pdf»: программа создания PDF сообщила об ошибке.")},
      {ReportFailed(F::PdfIncomplete, pdf),
       QStringLiteral("PDF «/p/PDF/x.pdf» записан не полностью (возможно, на диске нет места) и "
                      "удалён. Освободите место на диске и повторите.")},
      {ReportFailed(F::PdfNotWritten, pdf),
       QStringLiteral("PDF «/p/PDF/x.pdf» не создан: программа создания PDF не записала файл.")},
      {ReportFailed(F::PdfWriteFailed, pdf),
       QStringLiteral("Не удалось создать PDF «/p/PDF/x.pdf»: ошибка записи (возможно, на диске "
                      "нет места или нет прав на запись в папку).")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.error.Failure));
    EXPECT_EQ(ReportErrorText(c.error), c.expected);
  }
}

}  // namespace
}  // namespace sfigmo
