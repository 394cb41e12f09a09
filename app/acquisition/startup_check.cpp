#include "acquisition/startup_check.h"

#include <cmath>
#include <limits>
#include <optional>

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

// A reading no battery of the sensor can give is a garbled reply.
bool PlausibleVolts(float volts) {
  return std::isfinite(volts) && volts >= kMinPlausibleVolts && volts <= kMaxPlausibleVolts;
}

// The battery voltage, asked at most twice; none when no reading came. The
// preset NaN tells a reply without a voltage from a reading.
std::optional<float> ReadBattery(const SensorApi& api) {
  constexpr int kAttempts = 2;
  for (int attempt = 1; attempt <= kAttempts; ++attempt) {
    float volts = std::numeric_limits<float>::quiet_NaN();
    if (IsTrue(api.GetVBat(&volts)) && PlausibleVolts(volts)) return volts;
    // A port that failed to open or was closed by a failed write stays closed.
    if (api.CheckOpenPort && !IsTrue(api.CheckOpenPort())) break;
  }
  return std::nullopt;
}

}  // namespace

QString SensorNotFoundText(const QStringList& libraryMessages) {
  QString text = QStringLiteral("Датчик не найден. Подключите датчик к USB и нажмите «") +
                 QString::fromUtf8(kCheckAgainLabel) + QStringLiteral("».");
  QStringList distinct = libraryMessages;
  distinct.removeDuplicates();
  if (!distinct.isEmpty()) text += QStringLiteral("\n\nСообщения драйвера датчика:");
  for (const QString& m : distinct) text += QStringLiteral("\n– ") + m;
  return text;
}

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

  const std::optional<float> reading = ReadBattery(api);
  if (!reading) {
    result.batteryUnanswered = true;
    view.setMessage(QString::fromUtf8(kNoSensorLinkText));
    view.takeMessages();
    StopSensor(api);
    return result;
  }
  const float volts = *reading;
  result.batteryVolts = volts;
  result.answered = true;
  view.setBatteryText(BatteryText(volts, view.decimalSeparator));
  if (volts >= kMinBatteryVolts) {
    view.wait(100);
    result.noSignal = !IsTrue(api.SetStatusSens(1));
  } else {
    view.setMessage(QStringLiteral("  Сменить Бат."));
    view.setBatteryText(LowBatteryText(volts, view.decimalSeparator));
    view.takeMessages();
    result.noSignal = true;
  }
  StopSensor(api);
  return result;
}

}  // namespace sfigmo
