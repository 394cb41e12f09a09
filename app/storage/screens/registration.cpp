#include "storage/screens/registration.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>
#include <cerrno>
#include <cstring>
#include <span>

#include "analysis/screens/check_screen.h"
#include "draw/canvas.h"
#include "draw/screen_text.h"
#include "draw/trace_area.h"
#include "storage/archive_folder.h"
#include "storage/record_file.h"
#include "storage/screens/storage_context.h"
#include "record/short_string.h"

namespace sfigmo {
namespace {

constexpr int kHeaderY = 40;

template <std::size_t N>
QString FieldText(const std::uint8_t (&field)[N]) {
  return QString::fromStdString(GetShortString(field));
}

// The note's lines joined as the record stores them.
QString StoredNoteText(const SessionView& view) {
  QString text = view.noteText();
  text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return text;
}

// A save that stopped after the archive copy: the user must know that the
// archive now holds a measurement that registration and SMS do not use, and
// what to mend before saving again (the retry completes that save).
std::string PartialSaveText(const StorageError& error) {
  std::string advice;
  if (error.Errno == ENOSPC || error.Errno == EDQUOT) {
    advice = "Освободите место на диске";
  } else if (error.Failure == StorageFailure::Folder && error.Errno == EEXIST) {
    advice = "Переименуйте или перенесите этот файл";
  } else if (error.Errno == EACCES || error.Errno == EPERM || error.Errno == EROFS) {
    advice = "Разрешите запись в папку DataMLT/DatInt";
  } else {
    advice = "Устраните причину";
  }
  return "\n\nИзмерение записано в архив (папка DataMLT), но не записано как последнее "
         "измерение (папка DataMLT/DatInt): архив и последнее измерение расходятся. "
         "Регистрация и SMS врачу пока берут прежнее измерение. " +
         advice + " и сохраните измерение ещё раз.";
}

}  // namespace

QStringList DefaultNoteLines() {
  return {QStringLiteral("   ОБЩИЕ СВЕДЕНИЯ "),
          QStringLiteral("   Самочувствие -  удовлетворительное"),
          QStringLiteral("   Рост (см)- 172"),
          QStringLiteral("   Вес (кг)- 85"),
          QStringLiteral("   Артнриальное давление - 140/_95"),
          QStringLiteral("   Жалобы-  нет жалоб")};
}

DateTimeParts PartsOf(const QDateTime& when) {
  const QDate d = when.date();
  const QTime t = when.time();
  return {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()};
}

QString ShownDate(const QDateTime& when) {
  return QLocale().toString(when.date(), QLocale::ShortFormat);
}

QString ShownTime(const QDateTime& when) { return when.time().toString(QStringLiteral("H:mm:ss")); }

bool Registration::readLastMeasurement() {
  StorageSurface& f = ctx_.surface;
  if (!f.work.BrowseRecord) f.work.BrowseRecord = std::make_unique<PulsogramRecord>();
  const auto last = FindLastRecord(LastMeasurementFolder(ctx_.programFolder()));
  if (!last || !ReadRecord(*last, *f.work.BrowseRecord).ok()) return false;
  f.LastRecordRead = 1;
  return true;
}

void Registration::showFields() { ctx_.surface.session.apply(Step::FieldsShown); }

void Registration::fillFromLastMeasurement() {
  StorageSurface& f = ctx_.surface;
  const PulsogramRecord& last = *f.work.BrowseRecord;
  f.view().setPatientText(PatientText::Name, FieldText(last.PatientName));
  f.view().setPatientText(PatientText::Age, FieldText(last.PatientAge));
  f.view().setPatientText(PatientText::Sex, FieldText(last.PatientSex));
  QString note = FieldText(last.GeneralInfo);
  note.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  f.view().setNoteText(note);
  takeAndDrawDateTime();
}

void Registration::fillWithDefaults() {
  StorageSurface& f = ctx_.surface;
  for (const QString& line : DefaultNoteLines()) f.view().appendNoteLine(line);
  f.view().setPatientText(PatientText::Name, QString::fromUtf8(kDefaultPatient));
  f.view().setPatientText(PatientText::Age, QString::fromUtf8(kDefaultAge));
  f.view().setPatientText(PatientText::Sex, QString::fromUtf8(kDefaultSex));
}

void Registration::takeAndDrawDateTime() {
  StorageSurface& f = ctx_.surface;
  const QDateTime now = ctx_.clock();
  const QString date = ShownDate(now).left(10);
  const QString time = ShownTime(now).left(10);
  // A locale whose date Windows-1251 cannot hold leaves the old text; saving
  // writes the stored form from the date's parts in any case.
  SetShortString(f.work.CurrentRecord->TimeText, time.toStdString());
  SetShortString(f.work.CurrentRecord->DateText, date.toStdString());
  Canvas& c = f.traceCanvas();
  screens::SetFont(c, 8, false);
  c.setBrushColor(f.view().trace().background());
  c.textOut(200, kHeaderY, QStringLiteral("ДАТА"));
  c.textOut(240, kHeaderY, date);
  c.textOut(360, kHeaderY, QStringLiteral("ВРЕМЯ"));
  c.textOut(410, kHeaderY, time);
}

std::optional<QString> Registration::copyFieldsInto(PulsogramRecord& r) const {
  const StorageSurface& f = ctx_.surface;
  const struct {
    std::span<std::uint8_t> field;
    QString text;
    const char* label;
  } fields[] = {{r.PatientName, f.view().patientText(PatientText::Name), "ПАЦИЕНТ"},
                {r.PatientAge, f.view().patientText(PatientText::Age), "ВОЗРАСТ"},
                {r.PatientSex, f.view().patientText(PatientText::Sex), "ПОЛ"},
                {r.GeneralInfo, StoredNoteText(f.view()), "общие сведения"}};
  for (const auto& fld : fields) {
    // The record holds one byte per character: a longer text would be cut
    // in the record and in the file name without a word.
    const qsizetype capacity = static_cast<qsizetype>(fld.field.size()) - 1;
    const qsizetype length = fld.text.toUcs4().size();
    if (length > capacity) {
      return QStringLiteral("Поле «%1»: не более %2 знаков, введено %3. Сократите текст.")
          .arg(QString::fromUtf8(fld.label))
          .arg(capacity)
          .arg(length);
    }
    if (auto failure = SetShortString(fld.field, fld.text.toStdString())) {
      return QStringLiteral("Поле «%1»: %2")
          .arg(QString::fromUtf8(fld.label), QString::fromStdString(EncodingFailureText(*failure)));
    }
  }
  return std::nullopt;
}

void Registration::Regis() {
  StorageSurface& f = ctx_.surface;
  f.session.apply(Step::RegistrationShown);
  const bool fromLast = readLastMeasurement();
  if (!f.session.conclusionShown()) return;
  if (!f.work.CurrentRecord) f.work.CurrentRecord = std::make_unique<PulsogramRecord>();
  f.view().trace().clear();
  f.showTraceNow();
  showFields();
  f.view().setNoteText(QString());
  filledFromLast_ = fromLast;
  if (fromLast) {
    fillFromLastMeasurement();
  } else {
    fillWithDefaults();
  }
  copyFieldsInto(*f.work.CurrentRecord);  // last record's or default texts: always storable
  f.session.setEnabled(Control::SaveItem, true);
}

void Registration::replay() {
  StorageSurface& f = ctx_.surface;
  if (!f.session.conclusionShown() || !f.work.CurrentRecord) return;
  f.view().trace().clear();
  f.showTraceNow();
  showFields();
  if (filledFromLast_) takeAndDrawDateTime();
}

void Registration::Save() {
  StorageSurface& f = ctx_.surface;
  if (!f.work.CurrentRecord) return;
  if (f.work.CutShort) {  // kept for a look, never passed off as a whole recording
    f.presentMessage(CutShortText(*f.work.CurrentRecord, QChar::fromLatin1(ctx_.decimalSeparator)) +
                         QStringLiteral(". Сохраняется прерванная запись; для полной записи "
                                        "повторите измерение."),
                     QStringLiteral("Сохранение"), false);
  }
  // Everything is prepared on a copy: a refused name leaves the measurement
  // in memory exactly as it was.
  auto record = std::make_unique<PulsogramRecord>(*f.work.CurrentRecord);
  if (auto refused = copyFieldsInto(*record)) {
    ctx_.showError(("Измерение не сохранено. " + *refused).toStdString());
    return;
  }
  record->Results = f.work.Results;
  record->Results.Reserved = 0.0;
  // Saving again after a save that stopped after its archive copy completes
  // that save: the same date and time, so the same archive record.
  const bool retry = halfSaved_ && SameMeasurement(*record, *halfSaved_);
  if (retry) {
    std::memcpy(record->TimeText, halfSaved_->TimeText, sizeof record->TimeText);
    std::memcpy(record->DateText, halfSaved_->DateText, sizeof record->DateText);
  } else {
    const DateTimeParts when = PartsOf(ctx_.clock());
    SetShortString(record->TimeText, StoredTimeText(when));
    SetShortString(record->DateText, StoredDateText(when));
  }

  const SaveName name = BuildSaveName(*record);
  if (name.Problem != NameProblem::None) {
    ctx_.showError(NameProblemText(name));
    return;
  }
  *f.work.CurrentRecord = *record;
  const SaveOutcome saved = SaveMeasurement(ctx_.programFolder(), *f.work.CurrentRecord,
                                            ctx_.writeFault, retry ? halfSaved_.get() : nullptr);
  if (saved.ok() || !saved.ArchiveWritten) {
    if (saved.ok() || !retry) halfSaved_.reset();
  } else {
    halfSaved_ = std::make_unique<PulsogramRecord>(*f.work.CurrentRecord);
  }
  if (!saved.ok()) {
    std::string text = StorageErrorText(saved.Error);
    if (saved.ArchiveWritten) text += PartialSaveText(saved.Error);
    ctx_.showError(text);
    return;
  }
  f.view().trace().clear();
  f.session.apply(Step::Saved);
  f.showTraceNow();
}

}  // namespace sfigmo
