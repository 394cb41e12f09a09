#pragma once
// The main window's measuring: the start-up check, the measurement run with
// START and the two STOP buttons, and the mode switches. It owns the binding
// of the device library and holds the library's messages while a run is in
// progress. Works on the part of the window it is handed; main thread only.

#include <QChar>
#include <QCoreApplication>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "acquisition/device_library.h"
#include "analysis/working_record.h"
#include "draw/session.h"
#include "draw/trace_area.h"
#include "record/pulsogram_record.h"

namespace sfigmo {

struct RunResult;
class SensorCheck;
class MeasurementMachine;
class CanvasRunSurface;

struct MeasurementSurface {
  QWidget* window;
  Session& session;
  WorkingRecord work;
  int& LastRecordRead;
  int& NoSignal;
  int& StopRequest;
  int& CheckFailed;
  int& CurrentGain;

  // Folder libsensordrv.so is loaded from; empty: the executable's.
  QString libraryFolder;
  // Decimal separator of the battery voltage.
  QChar decimalSeparator;
  // The library's message sink and its context (the window's, see
  // ui/device_messages.h).
  MessageSinkFn messageSink;
  void* messageContext;

  // Chooses the program folder again (an activation may find it changed).
  std::function<void()> refreshProgramFolder;
  // START's rest after a good run: the check, the calculation, the conclusion.
  std::function<void()> checkAndConclude;
  // Shows one message (text, caption, isError) at once.
  std::function<void(const QString&, const QString&, bool)> showMessage;
  // Shows an error (text, caption) with a button that checks the sensor
  // again (kCheckAgainLabel) and one that closes; true: check again.
  std::function<bool(const QString&, const QString&)> offerCheckAgain;

  SessionView& view() const { return session.view(); }
  Canvas& traceCanvas() const { return view().trace().canvas(); }
};

class MeasurementActions : public QObject {
  Q_OBJECT

 public:
  explicit MeasurementActions(MeasurementSurface surface);
  ~MeasurementActions() override;

  // The states the first activation would set, before the window is seen.
  void prepareWindow();

  void Activate();  // start-up check: binding, resets, sensor test
  // Both start a run and return; the rest follows its end from the event loop.
  void Start();                  // "СТАРТ": run, then the check, calculation, conclusion
  void Measure();                // "Изме&р": measurement run
  void StopAutomatic();          // automatic-mode STOP
  void StopManual();             // manual-mode STOP
  void SwitchMode(bool manual);  // "Автомат" / "Ручное"

  // Shows a message, or holds it until the run or check in progress ends.
  void presentMessage(const QString& text, const QString& caption, bool isError);
  // True while the measurement run, the START chain or the start-up check
  // is in progress.
  bool busy() const { return busy_ > 0 || chainRunning_ || checking_; }
  bool measuring() const { return busy_ > 0; }
  // A close asked for while busy: the run stops and the window closes after
  // it (true); false when the window may close now.
  bool deferClose();
  // Runs `step` now, or once the start-up check in progress is over.
  void afterCheck(std::function<void()> step);
  DeviceLibrary& deviceLibrary() { return device_; }
  // Where the library's reader thread queues its messages: only they are
  // posted here, so they can be taken in without running other events.
  QObject* messageInbox() { return this; }

 private:
  // Starts the measurement run; `then` follows its end, told whether the
  // record was measured whole (false: the sensor stopped answering).
  void MeasurementRun(std::function<void(bool measured)> then);
  void finishRun();
  // Starts one activation's check; its end may offer to check again.
  void beginCheck(bool askedByUser);
  void advanceCheck();
  // One box for the check's library messages; true: check again.
  bool reportMissingSensor(bool answered, bool askedByUser);
  void showRunMessages(const RunResult& run);
  void resetForActivation();
  void clearStatusTexts();
  void showSensorOutcome();
  void closeIfPending();
  void advanceRun();
  void takeQueuedMessages();

  MeasurementSurface s_;
  DeviceLibrary device_;
  bool buffersAllocated_ = false;
  bool closePending_ = false;
  bool chainRunning_ = false;  // START's run, check, calculation, conclusion
  int busy_ = 0;               // measurement run in progress
  bool checking_ = false;      // start-up check in progress: its messages are gathered
  bool checkAskedByUser_ = false;
  std::unique_ptr<SensorCheck> check_;
  QTimer checkTimer_;
  std::optional<bool> modeAsked_;  // a mode switch clicked during the check: manual?
  std::vector<std::function<void()>> afterCheck_;  // steps waiting for the check to end
  // The sensor was reported missing; later checks stay quiet until it answers.
  bool absenceReported_ = false;
  struct HeldMessage {
    QString text, caption;
    bool isError;
  };
  std::vector<HeldMessage> heldMessages_;
  // The run in progress, advanced from the event loop by runTimer_.
  std::unique_ptr<CanvasRunSurface> runSurface_;
  std::unique_ptr<MeasurementMachine> run_;
  QTimer runTimer_;
  std::function<void(bool)> runEnded_;
};

}  // namespace sfigmo
