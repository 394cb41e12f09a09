#pragma once
// The results message sent to the doctor: one line of eight key=value pairs
// taken from a stored record, and the preparation that the phone SMS window
// runs on each activation (last measurement, settings line, message file).
// No widgets; main thread or any other, one call at a time per folder.

#include <QString>
#include <string>

#include "messaging/messaging_error.h"
#include "record/pulsogram_record.h"

namespace sfigmo {

// "PULS=72 VRKI=0,123 KOLP=0 KOLE=1 KOVR=5,3 SPSO=0,075 TOSO=18 NAGR=0,091"
// followed by bytes 13, 13, 10. TOSO is "-" when it cannot be computed
// (MeanInterval 0). PULS, KOLP, KOLE and TOSO of 100 or more are rounded
// whole numbers ("PULS=109"), never an exponent form.
std::string ResultsMessage(const AnalysisResults& results, char decimalSeparator);

// File names under the program folder (which ends in '/').
QString SettingsFilePath(const QString& programFolder);  // telport.txt
QString MessageFilePath(const QString& programFolder);   // sms.txt

struct MessagePreparation {
  PulsogramRecord record{};  // the last measurement, when found and read
  bool recordRead = false;
  QString settingsLine;
  bool settingsRead = false;
  MessagingError error;  // what is missing; ok when sms.txt was written
};

// Finds the last measurement (the record of DataMLT/DatInt/, the newest if several), reads
// the settings line and the record, and writes the results message to
// sms.txt. Stops at the first thing missing: no measurement, no or short
// telport.txt, a short record file, a record the judgement does not let
// through (not accepted, damaged results, a doubtful signal); sms.txt is
// then left as it was.
MessagePreparation PrepareResultsMessage(const QString& programFolder, char decimalSeparator);

}  // namespace sfigmo
