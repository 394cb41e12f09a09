#include "report/screens/report_texts.h"

namespace sfigmo {

QString ReportErrorText(const ReportError& e) {
  switch (e.Failure) {
    case ReportFailure::None:
      return {};
    case ReportFailure::RecordUnreadable:
      return QString::fromStdString(StorageErrorText(e.Record));
    case ReportFailure::PdfMakerMissing:
      return QStringLiteral("Не удалось загрузить библиотеку создания PDF «%1»: %2. PDF не создан.")
          .arg(e.Path, e.Detail.isEmpty() ? QStringLiteral("причина неизвестна") : e.Detail);
    case ReportFailure::PdfMakerFunction:
      return QStringLiteral("В библиотеке создания PDF «%1» нет функции «%2». PDF не создан.")
          .arg(e.Path, e.Detail);
    case ReportFailure::PdfMakerRefused:
      return QStringLiteral(
                 "Не удалось создать PDF «%1»: программа создания PDF сообщила об ошибке.")
          .arg(e.Path);
    case ReportFailure::PdfIncomplete:
      return QStringLiteral(
                 "PDF «%1» записан не полностью (возможно, на диске нет места) и удалён. "
                 "Освободите место на диске и повторите.")
          .arg(e.Path);
    case ReportFailure::PdfNotWritten:
      return QStringLiteral("PDF «%1» не создан: программа создания PDF не записала файл.")
          .arg(e.Path);
    case ReportFailure::PdfWriteFailed:
      return QStringLiteral(
                 "Не удалось создать PDF «%1»: ошибка записи (возможно, на диске нет места или "
                 "нет прав на запись в папку).")
          .arg(e.Path);
  }
  return {};
}

}  // namespace sfigmo
