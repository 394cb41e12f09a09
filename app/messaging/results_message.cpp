#include "messaging/results_message.h"

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "analysis/indices.h"
#include "analysis/record_judgement.h"
#include "common/format_general.h"
#include "messaging/settings_file.h"
#include "messaging/settings_line.h"
#include "storage/archive_folder.h"
#include "storage/record_file.h"

namespace sfigmo {

namespace {

// Two significant digits, as every value of the message has; a value that
// would need an exponent for that ("1,1E2") goes out as the whole number a
// doctor reads at a glance.
std::string Whole2(double v, char sep) {
  const std::string text = FormatGeneral(v, 2, 0, sep);
  if (!std::isfinite(v) || std::fabs(v) < 1.0 || text.find('E') == std::string::npos) return text;
  char whole[400];
  std::snprintf(whole, sizeof whole, "%.0f", std::round(v));  // half away from zero
  return whole;
}

}  // namespace

std::string ResultsMessage(const AnalysisResults& r, char sep) {
  auto g = [sep](double v, int digits, int expDigits = 0) {
    return FormatGeneral(v, digits, expDigits, sep);
  };
  const double toso = TOSO(r);
  std::string line = "PULS=" + Whole2(r.PULS, sep);
  line += " VRKI=" + g(r.VRKI, 3, 3);
  line += " KOLP=" + Whole2(r.KOLP, sep);
  line += " KOLE=" + Whole2(r.KOLE, sep);
  line += " KOVR=" + g(r.KOVR, 2);
  line += " SPSO=" + g(r.SPSO, 2);
  line += " TOSO=" +
          (r.MeanInterval == 0.0 || !std::isfinite(toso) ? std::string("-") : Whole2(toso, sep));
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
  // The doctor gets numbers only from a recording the check accepts, with
  // a sound block and a signal that can be trusted.
  const RecordJudgement judgement = JudgeRecord(p.record);
  if (!judgement.Accepted()) {
    p.error = MessagingFailed(MessagingFailure::NotAccepted, recordPath);
    p.error.Reason =
        QString::fromStdString(judgement.RejectionText(p.record.SamplePeriod, decimalSeparator));
    return p;
  }
  if (!judgement.ResultsSound()) {
    p.error = MessagingFailed(MessagingFailure::ResultsDamaged, recordPath);
    return p;
  }
  if (judgement.Doubtful()) {
    p.error = MessagingFailed(MessagingFailure::SignalDoubtful, recordPath);
    p.error.Reason = QString::fromUtf8(SignalWarningText()) + QStringLiteral(" (") +
                     QString::fromStdString(QualityReasonText(judgement.Quality)) +
                     QStringLiteral(")");
    return p;
  }
  p.error = WriteMessageFile(MessageFilePath(programFolder),
                             ResultsMessage(p.record.Results, decimalSeparator));
  return p;
}

}  // namespace sfigmo
