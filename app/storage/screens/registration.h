#pragma once
// Registration of the measured patient ("Реги&c") and saving the
// measurement into the archive and the last-measurement folder ("Со&хр").
// Works on the main window's patient edits, note memo, trace area, record
// buffers and flags. Main thread only.

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

#include "storage/save_name.h"

class QDateTime;

namespace sfigmo {

struct StorageContext;
struct PulsogramRecord;

// The details offered when no last measurement can be read.
inline constexpr const char* kDefaultPatient = "МЛТ";
inline constexpr const char* kDefaultAge = "67";
inline constexpr const char* kDefaultSex = "М";
QStringList DefaultNoteLines();

// The calendar parts of a local date and time.
DateTimeParts PartsOf(const QDateTime& when);
// What registration shows beside "ДАТА" and "ВРЕМЯ": the locale's short
// date and the time as hours:minutes:seconds.
QString ShownDate(const QDateTime& when);
QString ShownTime(const QDateTime& when);

class Registration {
 public:
  explicit Registration(StorageContext& context) : ctx_(context) {}

  // "Реги&c": reads the last measurement, and after a conclusion fills the
  // patient fields from it (or the defaults) and shows them.
  void Regis();
  // A repaint while registration is the current screen: the header again;
  // what the user typed since registration filled the fields is kept.
  void replay();
  // "Со&хр": writes the registered measurement into the archive and makes
  // it the last measurement.
  void Save();

 private:
  bool readLastMeasurement();
  void showFields();
  void fillFromLastMeasurement();
  void fillWithDefaults();
  void takeAndDrawDateTime();
  // Copies the edits and the memo into `record`; the refused character's
  // message when one of them has a character the record cannot hold.
  std::optional<QString> copyFieldsInto(PulsogramRecord& record) const;

  StorageContext& ctx_;
  bool filledFromLast_ = false;
  // The record of a save that wrote the archive copy but not the last
  // measurement; the next save of the same measurement completes it.
  std::unique_ptr<PulsogramRecord> halfSaved_;
};

}  // namespace sfigmo
