#include "acquisition/startup_check.h"

#include "common/format_general.h"

namespace sfigmo {

namespace {

QString Volts(float volts, QChar separator) {
  return QString::fromStdString(
      FormatGeneral(static_cast<double>(volts), 3, 0, static_cast<char>(separator.toLatin1())));
}

void StopSensor(const SensorApi& api) {
  api.SetStatusSens(0);
  api.SetDTRPort(0);
  api.ClosePort();
}

}  // namespace

QString BatteryText(float volts, QChar decimalSeparator) {
  return QStringLiteral("Ubat = ") + Volts(volts, decimalSeparator) + QStringLiteral(" в.");
}

QString LowBatteryText(float volts, QChar decimalSeparator) {
  return QStringLiteral("Ubat=") + Volts(volts, decimalSeparator);
}

SensorCheckResult RunSensorCheck(const SensorApi& api, const SensorCheckView& view) {
  SensorCheckResult result;
  if (!api.complete()) return result;

  if (!IsTrue(api.SearchDevices())) {
    view.setMessage(QStringLiteral(" Нет связи с ПК"));
    return result;
  }
  api.OpenPort();
  view.wait(100);
  api.SetDTRPort(1);
  view.wait(100);

  float volts = 0.0f;  // stays 0.0 when the sensor does not answer
  api.GetVBat(&volts);
  result.batteryVolts = volts;
  view.setBatteryText(BatteryText(volts, view.decimalSeparator));
  // A NaN reading from a damaged reply counts as a flat battery.
  if (volts >= kMinBatteryVolts) {
    view.wait(100);
    result.noSignal = !IsTrue(api.SetStatusSens(1));
  } else {
    view.setMessage(QStringLiteral("  Сменить Бат."));
    view.setBatteryText(LowBatteryText(volts, view.decimalSeparator));
    view.processEvents();
    result.noSignal = true;
  }
  StopSensor(api);
  return result;
}

}  // namespace sfigmo
