#include "acquisition/screens/measurement_actions.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <utility>

#include "acquisition/measurement_run.h"
#include "acquisition/screens/canvas_run_surface.h"
#include "acquisition/startup_check.h"
#include "draw/canvas.h"
#include "draw/screen_text.h"

namespace sfigmo {
namespace {

constexpr int kMarkIndexResetCount = 1000;

// The device library captions its messages "Error" or "ERROR".
bool IsLibraryCaption(const QString& caption) {
  return caption == QLatin1String("Error") || caption == QLatin1String("ERROR");
}

// The run's short pauses between a command and its reply.
void Sleep(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// The run's view of the window.
class WindowRunSurface : public CanvasRunSurface {
 public:
  explicit WindowRunSurface(MeasurementSurface& window) : w_(window) {}
  Canvas& canvas() override { return w_.traceCanvas(); }
  void clearTrace() override { w_.view().trace().clear(); }
  void setProgressMaximum(int maximum) override { w_.view().setProgressMaximum(maximum); }
  void setProgress(int position) override { w_.view().setProgress(position); }
  void giveWay() override {}  // the run's driver returns to the event loop instead
  bool stopRequested() override { return w_.StopRequest == 1; }
  int outerWidth() override { return w_.view().outerWidth(); }
  void wait(int milliseconds) override { Sleep(milliseconds); }

 private:
  MeasurementSurface& w_;
};

}  // namespace

MeasurementActions::MeasurementActions(MeasurementSurface surface) : s_(std::move(surface)) {
  setObjectName(QStringLiteral("MeasurementActions"));
  runTimer_.setSingleShot(true);
  connect(&runTimer_, &QTimer::timeout, this, &MeasurementActions::advanceRun);
  checkTimer_.setSingleShot(true);
  connect(&checkTimer_, &QTimer::timeout, this, &MeasurementActions::advanceCheck);
}

MeasurementActions::~MeasurementActions() {
  // The library outlives the window: stop it from calling into it.
  device_.setMessageSink(nullptr, nullptr);
  // A run or check still in progress closes the sensor as it goes; nothing
  // follows it.
  run_.reset();
  check_.reset();
}

void MeasurementActions::prepareWindow() {
  clearStatusTexts();
  s_.session.apply(Step::StepButtonsHidden);
}

void MeasurementActions::clearStatusTexts() {
  s_.view().setBatteryText(QString());
  s_.session.showStatus(StatusLine::Signal, colours::Silver, QString());
  s_.session.showStatus(StatusLine::Status, colours::Silver, QString());
}

void MeasurementActions::resetForActivation() {
  s_.session.apply(Step::Activated);
  s_.LastRecordRead = 0;
  s_.CheckFailed = 0;
  clearStatusTexts();

  s_.session.apply(Step::StepButtonsHidden);
  s_.StopRequest = 0;
  if (!buffersAllocated_) {
    // Zero-filled rather than left as they come: a repaint may check or
    // draw a record before any run has written it.
    s_.work.CurrentRecord = std::make_unique<PulsogramRecord>();
    s_.work.BrowseRecord = std::make_unique<PulsogramRecord>();
    buffersAllocated_ = true;
  }
  s_.work.FrameNumber = 1;
  s_.traceCanvas().moveTo(0, 0);
  s_.NoSignal = 1;
  s_.CurrentGain = s_.view().gainSetting();
}

void MeasurementActions::Activate() {
  if (busy_ > 0 || checking_) return;
  beginCheck(false);
}

void MeasurementActions::beginCheck(bool askedByUser) {
  checking_ = true;
  checkAskedByUser_ = askedByUser;
  if (!device_.load(s_.libraryFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                               : s_.libraryFolder)) {
    presentMessage(QStringLiteral("Library load failed"), QString(), false);
  } else {
    device_.setMessageSink(s_.messageSink, s_.messageContext);
  }
  RaiseThreadPriority();
  resetForActivation();

  SensorCheckView view;
  view.setBatteryText = [this](const QString& t) { s_.view().setBatteryText(t); };
  view.setMessage = [this](const QString& t) { s_.view().setStatusText(StatusLine::Status, t); };
  view.takeMessages = [this] { takeQueuedMessages(); };
  view.decimalSeparator = s_.decimalSeparator;
  // Without the library nothing is called and the outcome is no-signal.
  check_ = std::make_unique<SensorCheck>(device_.api(), std::move(view));
  advanceCheck();
}

// One step of the check; its waits are the timer's.
void MeasurementActions::advanceCheck() {
  if (!check_) return;
  if (const std::optional<int> wait = check_->advance()) {
    checkTimer_.start(*wait);
    return;
  }
  const SensorCheckResult check = check_->result();
  check_.reset();
  s_.NoSignal = check.noSignal ? 1 : 0;
  showSensorOutcome();
  s_.refreshProgramFolder();
  // The reader's messages, queued before it stopped, come in first and go
  // into the check's one box.
  QTimer::singleShot(0, this, [this, answered = check.answered] {
    checking_ = false;
    const bool again = reportMissingSensor(answered, checkAskedByUser_);
    if (again && !closePending_) {
      beginCheck(true);
      return;
    }
    for (const auto& step : std::exchange(afterCheck_, {})) step();
    closeIfPending();
    if (const std::optional<bool> manual = std::exchange(modeAsked_, std::nullopt)) {
      SwitchMode(*manual);
    }
  });
}

void MeasurementActions::afterCheck(std::function<void()> step) {
  if (checking_) {
    afterCheck_.push_back(std::move(step));
  } else {
    step();
  }
}

// The library's messages of one check in one box that says what to do. While
// the sensor stays away, checks the user did not ask for stay quiet: the
// status shows " НЕТ СИГНАЛА" and nothing pops up again and again.
bool MeasurementActions::reportMissingSensor(bool answered, bool askedByUser) {
  std::vector<HeldMessage> held;
  held.swap(heldMessages_);
  QStringList library;
  for (const HeldMessage& m : held) {
    if (IsLibraryCaption(m.caption)) {
      library << m.text;
    } else {
      s_.showMessage(m.text, m.caption, m.isError);  // the program's own
    }
  }
  if (answered || s_.NoSignal == 0) absenceReported_ = false;
  if (library.isEmpty() || (absenceReported_ && !askedByUser) || closePending_) return false;
  absenceReported_ = true;
  const QString text = SensorNotFoundText(library);
  const QString caption = QString::fromUtf8(kSensorNotFoundCaption);
  if (s_.offerCheckAgain) return s_.offerCheckAgain(text, caption);
  s_.showMessage(text, caption, true);
  return false;
}

void MeasurementActions::showSensorOutcome() {
  if (s_.NoSignal == 1) {
    s_.session.showStatus(StatusLine::Signal, QColor(255, 0, 0), QStringLiteral(" НЕТ СИГНАЛА"));
    s_.session.apply(Step::SensorMissing);
  } else {
    s_.session.showStatus(StatusLine::Signal, colours::Green, QStringLiteral("      ГОТОВО"));
    s_.view().trace().setBackground(s_.view().baseColour());
    s_.view().trace().clear();  // the new colour shows at once, as a recoloured control would
  }
}

void MeasurementActions::Start() {
  // START is enabled again at the run's end, before the rest of the chain.
  if (chainRunning_ || busy_ > 0 || checking_) return;
  chainRunning_ = true;
  s_.StopRequest = 0;
  s_.session.apply(Step::StartPressed);
  s_.session.holdMenus(true);  // through the check, calculation and conclusion too
  MeasurementRun([this](bool measured) {
    if (!closePending_ && measured) s_.checkAndConclude();
    s_.session.holdMenus(false);
    s_.CheckFailed = 0;
    s_.session.apply(Step::StartChainEnded);
    chainRunning_ = false;
    closeIfPending();
  });
}

void MeasurementActions::Measure() {
  if (busy_ > 0 || checking_) return;
  MeasurementRun([this](bool) { closeIfPending(); });
}

void MeasurementActions::MeasurementRun(std::function<void(bool measured)> then) {
  ++busy_;
  s_.work.CurrentRecord = std::make_unique<PulsogramRecord>();
  s_.work.CutShort = false;
  s_.work.BrowseRecord = std::make_unique<PulsogramRecord>();
  buffersAllocated_ = true;
  s_.session.showStatus(StatusLine::Signal, s_.view().statusBackground(StatusLine::Signal),
                        QString(12, QLatin1Char(' ')));
  // The manual STOP shows in manual mode with START hidden.
  const bool manualStopHidden = s_.view().manualChosen() == s_.session.visible(Control::Start);
  s_.session.change(Control::StopManual,
                    manualStopHidden ? Change::HideDisabled : Change::ShowEnabled);

  Sleep(10);
  s_.session.apply(Step::RunBegins);
  s_.view().setBatteryText(QString());
  s_.session.showStatus(StatusLine::Status, colours::Silver, QString());

  const int resetCount = std::min<int>(kMarkIndexResetCount, s_.work.Marks.count());
  for (int i = 0; i < resetCount; ++i) s_.work.Marks.Marks[i].Index = 0;
  s_.NoSignal = 0;
  s_.CurrentGain = s_.view().gainSetting();
  s_.view().trace().clear();

  // The run goes on from the event loop and `then` follows its end. Clicks,
  // a close or a menu key meanwhile are ordinary events: none re-enters it.
  s_.session.holdMenus(true);
  runSurface_ = std::make_unique<WindowRunSurface>(s_);
  run_ = std::make_unique<MeasurementMachine>(device_.api(), *s_.work.CurrentRecord, s_.CurrentGain,
                                              *runSurface_);
  runEnded_ = std::move(then);
  advanceRun();
}

void MeasurementActions::finishRun() {
  runTimer_.stop();
  const RunResult run = run_->result();
  run_.reset();
  runSurface_.reset();
  s_.session.holdMenus(false);

  s_.CurrentGain = run.gain;
  s_.work.WorkingPeriod = run.period;
  s_.work.CutShort = run.sensorLost && s_.work.CurrentRecord->SampleCount > 0;
  s_.work.FrameNumber = 0;
  s_.work.MarkCursor = 1;
  s_.StopRequest = 0;
  s_.session.apply(Step::RunEnded);
  if (s_.view().automaticChosen()) s_.session.apply(Step::RunEndedAutomatic);
  if (s_.view().manualChosen()) s_.session.apply(Step::RunEndedManual);
  s_.session.apply(Step::RunModeSwitchesBack);
  s_.view().setProgress(0);
  takeQueuedMessages();  // the reader's last, queued before it stopped
  --busy_;
  showRunMessages(run);
  const bool measured = !run.sensorLost && run.framesLost == 0;
  if (auto then = std::exchange(runEnded_, nullptr)) then(measured);
}

// The library's messages held during the run, or for a lost sensor (whose
// symptoms they are) one message that the run was broken off, the signal
// showing as lost until the next check or run; or, when frames were lost on
// the way, one message that nothing was kept.
void MeasurementActions::showRunMessages(const RunResult& run) {
  std::vector<HeldMessage> held;
  held.swap(heldMessages_);
  if (closePending_) return;
  if (run.sensorLost) {
    s_.NoSignal = 1;
    s_.session.showStatus(StatusLine::Signal, QColor(255, 0, 0), QStringLiteral(" НЕТ СИГНАЛА"));
    presentMessage(QStringLiteral("Датчик перестал отвечать, измерение прервано. Проверьте "
                                  "подключение датчика и повторите измерение."),
                   QStringLiteral("Измерение"), true);
    return;
  }
  if (run.framesLost > 0) {
    presentMessage(QStringLiteral("Связь с датчиком неустойчива: часть данных потеряна. "
                                  "Проверьте подключение датчика и повторите измерение."),
                   QStringLiteral("Измерение"), true);
    return;
  }
  for (const HeldMessage& m : held) presentMessage(m.text, m.caption, m.isError);
}

void MeasurementActions::StopAutomatic() {
  s_.StopRequest = 1;
  s_.session.apply(Step::StopAutomatic);
}

void MeasurementActions::StopManual() {
  s_.StopRequest = 1;
  s_.session.apply(Step::StopManual);
}

// Both mode switches: automatic shows "СТАРТ" alone, manual the four step
// buttons with only "Про&в" usable.
void MeasurementActions::SwitchMode(bool manual) {
  if (busy_ > 0) return;
  if (checking_) {  // the switch is made when the check is over
    modeAsked_ = manual;
    return;
  }
  s_.view().trace().clear();
  s_.session.apply(manual ? Step::ModeManual : Step::ModeAutomatic);
  s_.view().setBatteryText(QString());
  s_.session.showStatus(StatusLine::Status, colours::Silver, QString());
}

void MeasurementActions::presentMessage(const QString& text, const QString& caption, bool isError) {
  // A run's messages wait for its end: a lost sensor is told once; a check's
  // go into one box.
  if (busy_ > 0 || checking_) {
    heldMessages_.push_back({text, caption, isError});
    return;
  }
  s_.showMessage(text, caption, isError);
}

bool MeasurementActions::deferClose() {
  if (!busy()) return false;
  // A run in progress owns the record buffers: stop it, close after it ends.
  s_.StopRequest = 1;
  closePending_ = true;
  return true;
}

void MeasurementActions::closeIfPending() {
  if (closePending_) s_.window->close();
}

// Runs the machine up to its next pause; the timer brings it back after
// pending events or after the pause's wait.
void MeasurementActions::advanceRun() {
  if (!run_) return;
  for (;;) {
    const MeasurementMachine::Next next = run_->advance();
    switch (next.pause) {
      case MeasurementMachine::Pause::None:
        continue;
      case MeasurementMachine::Pause::Events:
        runTimer_.start(0);
        return;
      case MeasurementMachine::Pause::Wait:
        runTimer_.start(next.milliseconds);
        return;
      case MeasurementMachine::Pause::Finished:
        finishRun();
        return;
    }
  }
}

// Only the library's messages are posted to this object (messageInbox()):
// taking them in runs no click, timer or repaint.
void MeasurementActions::takeQueuedMessages() {
  QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

}  // namespace sfigmo
