#include "messaging/results_message.h"

#include <cmath>
#include <filesystem>

#include "analysis/indices.h"
#include "analysis/result_validity.h"
#include "common/format_general.h"
#include "messaging/settings_file.h"
#include "messaging/settings_line.h"
#include "storage/archive_folder.h"
#include "storage/record_file.h"

namespace sfigmo {

std::string ResultsMessage(const AnalysisResults& r, char sep) {
  auto g = [sep](double v, int digits, int expDigits = 0) {
    return FormatGeneral(v, digits, expDigits, sep);
  };
  const double toso = TOSO(r);
  std::string line = "PULS=" + g(r.PULS, 2);
  line += " VRKI=" + g(r.VRKI, 3, 3);
  line += " KOLP=" + g(r.KOLP, 2);
  line += " KOLE=" + g(r.KOLE, 2);
  line += " KOVR=" + g(r.KOVR, 2);
  line += " SPSO=" + g(r.SPSO, 2);
  line +=
      " TOSO=" + (r.MeanInterval == 0.0 || !std::isfinite(toso) ? std::string("-") : g(toso, 2));
  line += " NAGR=" + g(r.NAGR, 2);
  line += "\r\r\n";
  return line;
}

QString SettingsFilePath(const QString& programFolder) {
  return programFolder + QStringLiteral("telport.txt");
}

QString MessageFilePath(const QString& programFolder) {
  return programFolder + QStringLiteral("sms.txt");
}

namespace {

// The same last measurement that registration prefills from.
QString FindLastMeasurement(const QString& programFolder) {
  const auto last =
      FindLastRecord(LastMeasurementFolder(std::filesystem::path(programFolder.toStdString())));
  return last ? QString::fromStdString(last->string()) : QString();
}

MessagingError WriteMessageFile(const QString& path, const std::string& text) {
  return WriteTextFile(path, QByteArray::fromStdString(text));
}

}  // namespace

MessagePreparation PrepareResultsMessage(const QString& programFolder, char decimalSeparator) {
  MessagePreparation p;
  // The settings are read even when the measurement is missing, so the
  // window can still show the port and take a new number.
  const SettingsRead settings = ReadSettingsLine(SettingsFilePath(programFolder));
  if (settings.error.ok()) {
    p.settingsLine = settings.line;
    p.settingsRead = true;
  }
  const QString recordPath = FindLastMeasurement(programFolder);
  if (recordPath.isEmpty()) {
    p.error = MessagingFailed(MessagingFailure::NoMeasurement);
    return p;
  }
  if (!settings.error.ok()) {
    p.error = settings.error;
    return p;
  }
  if (settings.line.size() < kSettingsLineMinLength) {
    p.error = MessagingFailed(MessagingFailure::ShortSettingsLine, SettingsFilePath(programFolder));
    return p;
  }
  const StorageError read = ReadRecord(recordPath.toStdString(), p.record);
  if (!read.ok()) {
    p.error = MessagingFailed(MessagingFailure::RecordUnreadable, recordPath);
    p.error.Record = read;
    return p;
  }
  p.recordRead = true;
  // A damaged block would send the doctor numbers no recording gave.
  if (ResultsDamaged(p.record.Results)) {
    p.error = MessagingFailed(MessagingFailure::ResultsDamaged, recordPath);
    return p;
  }
  p.error = WriteMessageFile(MessageFilePath(programFolder),
                             ResultsMessage(p.record.Results, decimalSeparator));
  return p;
}

}  // namespace sfigmo
