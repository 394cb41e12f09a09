#pragma once
// What went wrong while preparing the results message or handling
// telport.txt, as a typed value with the details its text needs; the
// window (screens/messaging_texts.h) says it to the user.

#include <QString>

#include "storage/record_file.h"

namespace sfigmo {

enum class MessagingFailure {
  None,
  SettingsNotFound,    // Path: telport.txt does not exist
  SettingsUnreadable,  // Path, SystemReason: it exists but does not open
  FileWrite,           // Path, Errno: a file could not be replaced
  SettingsCopy,        // Source, Path: the shipped telport.txt was not copied
  NoMeasurement,       // no saved measurement to send
  ShortSettingsLine,   // the first line has no room for port and number
  RecordUnreadable,    // Record: the last measurement could not be read
  ResultsDamaged,      // the last measurement's stored results are damaged
  NotAccepted,         // Reason: the last measurement is no recording the check accepts
  SignalDoubtful,      // Reason: the last measurement's signal is doubtful
};

struct MessagingError {
  MessagingFailure Failure = MessagingFailure::None;
  QString Path;          // the file concerned
  QString Source;        // SettingsCopy: the file copied from
  QString SystemReason;  // SettingsUnreadable: the system's words
  int Errno = 0;         // FileWrite
  StorageError Record;   // RecordUnreadable
  QString Reason;        // NotAccepted, SignalDoubtful: the judgement's words

  bool ok() const { return Failure == MessagingFailure::None; }
};

// A failure of `failure` about the file `path`; callers add the rest.
inline MessagingError MessagingFailed(MessagingFailure failure, const QString& path = {}) {
  MessagingError error;
  error.Failure = failure;
  error.Path = path;
  return error;
}

}  // namespace sfigmo
