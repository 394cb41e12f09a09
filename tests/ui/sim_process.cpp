#include "sim_process.h"

#include <QDir>

namespace sfigmo::testing {

SimProcess::SimProcess(const QStringList& args) {
  process_.setProgram(QDir(QStringLiteral(SFIGMO_BIN_DIR)).filePath(QStringLiteral("sensor-sim")));
  process_.setArguments(args);
  process_.start();
  if (!process_.waitForStarted(5000)) return;
  // The first stdout line is the pseudo-terminal's path.
  while (!process_.canReadLine() && process_.waitForReadyRead(5000)) {
  }
  port_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
  if (!port_.isEmpty()) qputenv("SENSORDRV_PORT", port_.toLocal8Bit());
}

SimProcess::~SimProcess() {
  qunsetenv("SENSORDRV_PORT");
  process_.kill();
  process_.waitForFinished(5000);
}

void SimProcess::kill() {
  process_.kill();
  process_.waitForFinished(5000);
}

QString SimProcess::errors() { return QString::fromLocal8Bit(process_.readAllStandardError()); }

}  // namespace sfigmo::testing
