#pragma once
// The sensor test of the start-up check: listed by the driver, battery at
// least 7.5 V, stream start acknowledged. The window supplies where the
// texts go; the sensor is left closed (stream stopped, DTR dropped).
// Main thread only.

#include <QChar>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "acquisition/sensor_api.h"

namespace sfigmo {

inline constexpr float kMinBatteryVolts = 7.5f;
// Readings outside this range are failed reads, not voltages.
inline constexpr float kMinPlausibleVolts = 0.0f;
inline constexpr float kMaxPlausibleVolts = 20.0f;

// Where the check writes and how it waits.
struct SensorCheckView {
  std::function<void(const QString&)> setBatteryText;
  std::function<void(const QString&)> setMessage;  // the status line
  std::function<void()> takeMessages;              // the library's queued messages, between waits
  std::function<void(int milliseconds)> wait;
  QChar decimalSeparator = QLatin1Char(',');
};

struct SensorCheckResult {
  bool noSignal = true;
  float batteryVolts = 0.0f;  // 0.0 when not read
  // The battery query failed twice: a broken link, not a flat battery.
  bool batteryUnanswered = false;
  // A battery reading came: the sensor is there, whatever else failed.
  bool answered = false;
};

// The status line's text when the sensor does not answer the battery query.
inline constexpr const char* kNoSensorLinkText = " Нет связи с датчиком";

// The test step by step, so that its waits can be the event loop's: each
// advance() does one step and says how long to wait before the next, or
// nothing when the test is over. Dropped between steps, it leaves the
// sensor closed.
class SensorCheck {
 public:
  SensorCheck(const SensorApi& api, SensorCheckView view);
  ~SensorCheck();
  SensorCheck(const SensorCheck&) = delete;
  SensorCheck& operator=(const SensorCheck&) = delete;

  std::optional<int> advance();
  const SensorCheckResult& result() const { return result_; }

 private:
  static constexpr int kStepWaitMs = 100;
  enum class Stage { Search, Dtr, Battery, Stream, Done };
  std::optional<int> readBattery();
  void finish();

  const SensorApi api_;  // a copy: the caller's may be a temporary
  SensorCheckView view_;
  Stage stage_ = Stage::Search;
  bool portOpen_ = false;
  SensorCheckResult result_;
};

// Runs the test over a bound library, waiting in `view.wait`. A battery query that fails (no reply,
// a reply without a voltage, or one outside 0..20 V) is asked once more; failing again, the check
// says the sensor does not answer rather than reading a flat battery. With
// an incomplete `api` (no library) nothing is called and the result is
// no-signal.
SensorCheckResult RunSensorCheck(const SensorApi& api, const SensorCheckView& view);

// The one box of a start-up check at which the device library complained
// (the sensor not plugged in, its port gone): what to do first, naming the
// box's own button that checks again, then each of the library's texts once.
inline constexpr const char* kSensorNotFoundCaption = "Датчик не найден";
inline constexpr const char* kCheckAgainLabel = "Проверить снова";
QString SensorNotFoundText(const QStringList& libraryMessages);

// "Ubat = 9 в." and "Ubat=7,4": the battery value with 3 significant digits.
QString BatteryText(float volts, QChar decimalSeparator);
QString LowBatteryText(float volts, QChar decimalSeparator);

}  // namespace sfigmo
