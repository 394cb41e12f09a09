#pragma once
// Program folders and records for the messaging tests.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <memory>

#include "record_builder.h"
#include "record/pulsogram_record.h"
#include "storage/record_file.h"

namespace sfigmo::test {

// The results of the example message line: PULS=72 VRKI=0,123 KOLP=0
// KOLE=1 KOVR=5,3 SPSO=0,075 TOSO=18 NAGR=0,091.
inline AnalysisResults ExampleResults() {
  AnalysisResults r{};
  r.PULS = 72.4;
  r.VRKI = 0.1234;
  r.KOLP = 0;
  r.KOLE = 1;
  r.KOVR = 5.34;
  r.SPSO = 0.0751;
  r.NAGR = 0.0912;
  r.MeanInterval = 60.0 / 72.4;
  r.DescentTime = 18.3 * r.MeanInterval / 100.0 - r.NAGR;  // TOSO 18.3
  return r;
}

inline QByteArray ExampleMessage() {
  return QByteArray(
      "PULS=72 VRKI=0,123 KOLP=0 KOLE=1 KOVR=5,3 SPSO=0,075 TOSO=18 NAGR=0,091\r\r\n");
}

inline std::unique_ptr<PulsogramRecord> RecordWith(const AnalysisResults& results) {
  return RecordBuilder().PulseWave(NormalRestingWave()).Results(results).Build();
}

// Lays `record` as the last saved measurement of the program folder `folder`.
inline bool LayLastMeasurement(
    const QString& folder, const PulsogramRecord& record,
    const QString& name = QStringLiteral("Ivanov4526_12_07_09_05_03.pul")) {
  QDir().mkpath(folder + QStringLiteral("/DataMLT/DatInt"));
  return WriteRecord((folder + QStringLiteral("/DataMLT/DatInt/") + name).toStdString(), record)
      .ok();
}

inline bool WriteFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

inline QByteArray ReadFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace sfigmo::test
