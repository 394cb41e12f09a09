#pragma once
// modem-sim as a process for tests: its terminal's port name, its log,
// stopped by closing its stdin.

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include "messaging/port_names.h"
#include "sms_test_support.h"

namespace sfigmo::test {

class ModemSim {
 public:
  explicit ModemSim(const QStringList& options) {
    log_ = dir_.filePath(QStringLiteral("modem.log"));
    process_.start(QStringLiteral(MODEM_SIM_EXE), QStringList{"--log", log_} + options);
    if (process_.waitForStarted(10000) && process_.waitForReadyRead(10000)) {
      path_ = QString::fromUtf8(process_.readLine()).trimmed();
    }
  }
  ~ModemSim() {
    process_.closeWriteChannel();
    if (!process_.waitForFinished(10000)) process_.kill();
    process_.waitForFinished(10000);
  }
  QString port() const {
    const auto name = PortNameForDevice(path_.toStdString());
    return name ? QString::fromStdString(*name) : QString();
  }
  QString log() const { return QString::fromUtf8(ReadFile(log_)); }

 private:
  QTemporaryDir dir_;
  QString log_;
  QString path_;
  QProcess process_;
};

}  // namespace sfigmo::test
