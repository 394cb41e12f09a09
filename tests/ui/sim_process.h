#pragma once
// sensor-sim as a child process on a pseudo-terminal; SENSORDRV_PORT points
// the device library at it while the object lives.

#include <QProcess>
#include <QString>
#include <QStringList>

namespace sfigmo::testing {

class SimProcess {
 public:
  explicit SimProcess(const QStringList& args = {});
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  bool started() const { return !port_.isEmpty(); }
  const QString& port() const { return port_; }
  QString errors();
  // Ends the simulator at once, as an unplugged sensor would vanish.
  void kill();

 private:
  QProcess process_;
  QString port_;
};

}  // namespace sfigmo::testing
