#include "sensor_sim.h"

#include <QDir>
#include <QFile>

namespace sfigmo::test {

std::unique_ptr<SimProcess> StartSensorSim(const QStringList& args) {
  std::vector<std::string> list;
  for (const QString& a : args) list.push_back(a.toStdString());
  const QString program =
      QDir(QStringLiteral(SFIGMO_BIN_DIR)).filePath(QStringLiteral("sensor-sim"));
  return std::make_unique<SimProcess>(
      QFile::encodeName(program).toStdString(), list,
      SimProcess::Options{.exportPort = true, .captureErrors = true, .killAtEnd = true});
}

}  // namespace sfigmo::test
