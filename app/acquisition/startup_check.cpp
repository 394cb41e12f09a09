#include "acquisition/startup_check.h"

#include <cmath>
#include <limits>
#include <optional>
#include <utility>

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

SensorCheck::SensorCheck(const SensorApi& api, SensorCheckView view)
    : api_(api), view_(std::move(view)) {}

SensorCheck::~SensorCheck() {
  if (portOpen_) StopSensor(api_);  // abandoned between its steps
}

std::optional<int> SensorCheck::advance() {
  switch (stage_) {
    case Stage::Search:
      stage_ = Stage::Done;
      if (!api_.complete()) return std::nullopt;
      if (!IsTrue(api_.SearchDevices())) {
        view_.setMessage(QStringLiteral(" Нет связи с ПК"));
        return std::nullopt;
      }
      api_.OpenPort();
      portOpen_ = true;
      stage_ = Stage::Dtr;
      return kStepWaitMs;
    case Stage::Dtr:
      api_.SetDTRPort(1);
      stage_ = Stage::Battery;
      return kStepWaitMs;
    case Stage::Battery:
      return readBattery();
    case Stage::Stream:
      result_.noSignal = !IsTrue(api_.SetStatusSens(1));
      finish();
      return std::nullopt;
    case Stage::Done:
      return std::nullopt;
  }
  return std::nullopt;
}

std::optional<int> SensorCheck::readBattery() {
  const std::optional<float> reading = ReadBattery(api_);
  if (!reading) {
    result_.batteryUnanswered = true;
    view_.setMessage(QString::fromUtf8(kNoSensorLinkText));
    view_.takeMessages();
    finish();
    return std::nullopt;
  }
  const float volts = *reading;
  result_.batteryVolts = volts;
  result_.answered = true;
  view_.setBatteryText(BatteryText(volts, view_.decimalSeparator));
  if (volts >= kMinBatteryVolts) {
    stage_ = Stage::Stream;
    return kStepWaitMs;
  }
  view_.setMessage(QStringLiteral("  Сменить Бат."));
  view_.setBatteryText(LowBatteryText(volts, view_.decimalSeparator));
  view_.takeMessages();
  result_.noSignal = true;
  finish();
  return std::nullopt;
}

void SensorCheck::finish() {
  StopSensor(api_);
  portOpen_ = false;
  stage_ = Stage::Done;
}

SensorCheckResult RunSensorCheck(const SensorApi& api, const SensorCheckView& view) {
  SensorCheck check(api, view);
  while (const std::optional<int> wait = check.advance()) view.wait(*wait);
  return check.result();
}

}  // namespace sfigmo
