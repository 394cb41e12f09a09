// The main window's acquisition actions: the start-up check, the measurement
// run with START and the two STOP buttons, the mode switches and the
// recording check.

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMetaObject>
#include <QPalette>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QThread>
#include <QWidget>
#include <chrono>
#include <thread>

#include "acquisition/device_library.h"
#include "acquisition/measurement_run.h"
#include "acquisition/recording_check.h"
#include "acquisition/startup_check.h"
#include "draw/canvas.h"
#include "ui/decimal_separator.h"
#include "ui/device_messages.h"
#include "ui/form1.h"
#include "ui/program_folder.h"
#include "ui/trace_area.h"

namespace {

constexpr int kMarkIndexResetCount = 1000;

void Sleep(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// The run's view of the window.
class WindowRunSurface : public sfigmo::RunSurface {
 public:
  explicit WindowRunSurface(TForm1& form) : form_(form) {}
  sfigmo::Canvas& canvas() override { return form_.traceCanvas(); }
  void clearTrace() override { form_.TreeView1->clear(); }
  void setProgressMaximum(int maximum) override {
    form_.ProgressBar1->setRange(0, maximum > 0 ? maximum : 0);
  }
  void setProgress(int position) override { form_.ProgressBar1->setValue(position); }
  void processEvents() override { form_.processPendingEvents(); }
  bool stopRequested() override { return form_.StopRequest == 1; }
  int outerWidth() override { return form_.outerWidth(); }
  void wait(int milliseconds) override { Sleep(milliseconds); }

 private:
  TForm1& form_;
};

}  // namespace

void DeviceMessageSink(const char* text, const char* caption, int isError, void* context) {
  auto* form = static_cast<TForm1*>(context);
  if (!form) return;
  const QString t = QString::fromUtf8(text ? text : "");
  const QString c = QString::fromUtf8(caption ? caption : "");
  if (QThread::currentThread() == form->thread()) {
    form->presentDeviceMessage(t, c, isError != 0);
  } else {
    QMetaObject::invokeMethod(
        form, [form, t, c, isError] { form->presentDeviceMessage(t, c, isError != 0); },
        Qt::QueuedConnection);
  }
}

void TForm1::setActionButtons(bool visible) {
  for (QPushButton* b : {Button2, Button3, Button4, Button5}) b->setVisible(visible);
}

void TForm1::hidePatientFieldsAndLists() {
  for (QWidget* w : std::initializer_list<QWidget*>{ListBox1, ListBox2, Memo3, Edit1, Edit2, Edit3,
                                                    StaticText1, StaticText2, StaticText3}) {
    w->hide();
  }
}

void TForm1::clearTrace() { TreeView1->clear(); }

void TForm1::clearStatusTexts() {
  Label1->clear();
  showStatus(Memo1, sfigmo::colours::Silver, QString());
  showStatus(Memo2, sfigmo::colours::Silver, QString());
}

void TForm1::hideStepAndStopButtons() {
  Button3->setEnabled(false);
  Button4->setEnabled(false);
  Button5->setEnabled(false);
  setActionButtons(false);
  for (QPushButton* stop : {Button8, Button10}) {
    stop->setEnabled(false);
    stop->hide();
  }
}

void TForm1::resetForActivation() {
  CheckViewShown = AnalysisViewShown = RegistrationViewShown = TrendViewShown = 0;
  LastRecordRead = 0;
  CheckFailed = 0;
  clearStatusTexts();
  processPendingEvents();

  hideStepAndStopButtons();
  StopRequest = 0;
  if (!buffersAllocated_) {
    // Zero-filled rather than left as they come: a repaint may check or
    // draw a record before any run has written it.
    CurrentRecord = std::make_unique<sfigmo::PulsogramRecord>();
    BrowseRecord = std::make_unique<sfigmo::PulsogramRecord>();
    buffersAllocated_ = true;
  }
  FrameNumber = 1;
  traceCanvas().moveTo(0, 0);
  NoSignal = 1;
  CurrentGain = TrackBar1->value();
}

void TForm1::FormActivate() {
  if (busy_ > 0) return;
  if (!device_->load(options_.libraryFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                                      : options_.libraryFolder)) {
    presentDeviceMessage(QStringLiteral("Library load failed"), QString(), false);
  } else {
    device_->setMessageSink(&DeviceMessageSink, this);
  }
  sfigmo::RaiseThreadPriority();
  resetForActivation();

  sfigmo::SensorCheckView view;
  view.setBatteryText = [this](const QString& t) { Label1->setText(t); };
  view.setMessage = [this](const QString& t) { Memo2->setPlainText(t); };
  view.processEvents = [this] { processPendingEvents(); };
  view.wait = &Sleep;
  view.decimalSeparator =
      QChar::fromLatin1(sfigmo::ShownDecimalSeparator(options_.decimalSeparator));
  // Without the library nothing is called and the outcome is no-signal.
  NoSignal = sfigmo::RunSensorCheck(device_->api(), view).noSignal ? 1 : 0;
  showSensorOutcome();
  ProgramFolder = options_.programFolder.isEmpty()
                      ? sfigmo::DefaultProgramFolder()
                      : sfigmo::PrepareProgramFolder(options_.programFolder);
}

void TForm1::showSensorOutcome() {
  if (NoSignal == 1) {
    showStatus(Memo1, QColor(255, 0, 0), QStringLiteral(" НЕТ СИГНАЛА"));
    processPendingEvents();
    for (QPushButton* b : {Button1, Button2, Button3, Button4, Button5}) b->setEnabled(false);
  } else {
    showStatus(Memo1, sfigmo::colours::Green, QStringLiteral("      ГОТОВО"));
    TreeView1->setBackground(palette().color(QPalette::Base));
    TreeView1->clear();  // the new colour shows at once, as a recoloured control would
    processPendingEvents();
  }
}

void TForm1::Button1Click() {
  // START is enabled again at the run's end, before the rest of the chain.
  if (chainRunning_ || busy_ > 0) return;
  chainRunning_ = true;
  Button1->setEnabled(false);
  setActionButtons(false);
  StopRequest = 0;
  Button1->hide();
  Button8->setEnabled(true);
  Button8->show();
  const bool measured = MeasurementRun();
  if (!closePending_ && measured) {
    Button3Click();
    if (CheckFailed != 1) {
      RunCalculation();
      ShowConclusion();
    }
  }
  CheckFailed = 0;
  TrendViewShown = 0;
  Button1->setEnabled(true);
  chainRunning_ = false;
  if (closePending_) close();
}

void TForm1::Button2Click() {
  if (busy_ > 0) return;
  MeasurementRun();
  if (closePending_) close();
}

bool TForm1::MeasurementRun() {
  ++busy_;
  CurrentRecord = std::make_unique<sfigmo::PulsogramRecord>();
  BrowseRecord = std::make_unique<sfigmo::PulsogramRecord>();
  buffersAllocated_ = true;
  showStatus(Memo1, Memo1->palette().color(QPalette::Base), QString(12, QLatin1Char(' ')));
  RadioButton1->setEnabled(false);
  RadioButton2->setEnabled(false);
  const bool manualStopHidden = RadioButton2->isChecked() == !Button1->isHidden();
  Button10->setVisible(!manualStopHidden);
  Button10->setEnabled(!manualStopHidden);

  Sleep(10);
  Button2->setEnabled(false);
  TrendViewShown = 0;
  ConclusionShown = 0;
  Regis_->setEnabled(false);
  hidePatientFieldsAndLists();
  Label1->clear();
  showStatus(Memo2, sfigmo::colours::Silver, QString());
  processPendingEvents();
  Button3->setEnabled(false);
  Button4->setEnabled(false);
  Button5->setEnabled(false);

  const int resetCount = std::min<int>(kMarkIndexResetCount, Marks.count());
  for (int i = 0; i < resetCount; ++i) Marks.Marks[i].Index = 0;
  NoSignal = 0;
  CurrentGain = TrackBar1->value();
  clearTrace();
  processPendingEvents();

  WindowRunSurface surface(*this);
  const sfigmo::RunResult run =
      sfigmo::RunMeasurement(device_->api(), *CurrentRecord, CurrentGain, surface);

  Button2->setEnabled(true);
  CurrentGain = run.gain;
  WorkingPeriod = run.period;
  FrameNumber = 0;
  MarkCursor = 1;
  Button2->setEnabled(true);
  Button3->setEnabled(true);
  StopRequest = 0;
  Button8->setEnabled(false);
  Button8->hide();
  if (RadioButton1->isChecked()) {
    Button1->setEnabled(true);
    Button1->show();
  }
  if (RadioButton2->isChecked()) {
    Button10->setEnabled(false);
    Button10->hide();
  }
  RadioButton1->setEnabled(true);
  RadioButton2->setEnabled(true);
  ProgressBar1->setValue(0);
  processPendingEvents();  // the reader's last messages, queued before it stopped
  --busy_;
  showRunMessages(run);
  return !run.sensorLost && run.framesLost == 0;
}

// The library's messages held during the run, or for a lost sensor (whose
// symptoms they are) one message that the run was broken off, the signal
// showing as lost until the next check or run; or, when frames were lost on
// the way, one message that nothing was kept.
void TForm1::showRunMessages(const sfigmo::RunResult& run) {
  std::vector<HeldMessage> held;
  held.swap(heldMessages_);
  if (closePending_) return;
  if (run.sensorLost) {
    NoSignal = 1;
    showStatus(Memo1, QColor(255, 0, 0), QStringLiteral(" НЕТ СИГНАЛА"));
    presentDeviceMessage(QStringLiteral("Датчик перестал отвечать, измерение прервано. Проверьте "
                                        "подключение датчика и повторите измерение."),
                         QStringLiteral("Измерение"), true);
    return;
  }
  if (run.framesLost > 0) {
    presentDeviceMessage(QStringLiteral("Связь с датчиком неустойчива: часть данных потеряна. "
                                        "Проверьте подключение датчика и повторите измерение."),
                         QStringLiteral("Измерение"), true);
    return;
  }
  for (const HeldMessage& m : held) presentDeviceMessage(m.text, m.caption, m.isError);
}

void TForm1::Button8Click() {
  StopRequest = 1;
  Button8->setEnabled(false);
  Button8->hide();
  Button1->setEnabled(true);
  Button1->show();
}

void TForm1::Button10Click() {
  StopRequest = 1;
  Button2->setEnabled(true);
  Button2->show();
}

void TForm1::RadioButton1Click() { switchMode(false); }

void TForm1::RadioButton2Click() { switchMode(true); }

// Both mode switches: automatic shows "СТАРТ" alone, manual the four step
// buttons with only "Про&в" usable.
void TForm1::switchMode(bool manual) {
  if (busy_ > 0) return;
  TrendViewShown = CheckViewShown = AnalysisViewShown = 0;
  clearTrace();
  processPendingEvents();
  Button1->setVisible(!manual);
  setActionButtons(manual);
  hidePatientFieldsAndLists();
  Label1->clear();
  showStatus(Memo2, sfigmo::colours::Silver, QString());
  processPendingEvents();
  Button3->setEnabled(manual);
  Button4->setEnabled(false);
  Button5->setEnabled(false);
}

void TForm1::Button3Click() {
  if (!CurrentRecord) CurrentRecord = std::make_unique<sfigmo::PulsogramRecord>();
  CheckViewShown = 1;
  AnalysisViewShown = RegistrationViewShown = TrendViewShown = ConclusionShown = 0;
  Regis_->setEnabled(false);
  hidePatientFieldsAndLists();
  clearTrace();
  processPendingEvents();

  const sfigmo::RecordingVerdict verdict = sfigmo::CheckRecording(*CurrentRecord, Marks);
  sfigmo::Canvas& c = traceCanvas();
  if (verdict.accepted()) {
    FrameNumber += 1;
    if (FrameNumber > 1) {
      FrameNumber = 1;
      MarkCursor = 1;
    }
    Memo2->show();
    Memo2->setPlainText(QStringLiteral("       КАДР  ") + QString::number(FrameNumber));
    c.setPenColor(sfigmo::colours::Blue);
    c.setPenWidth(1);
    c.setFontSize(8);
    c.setFontBold(false);
    c.setFontColor(sfigmo::colours::Black);
    c.setBrushColor(TreeView1->background());
    sfigmo::DrawFrame(c, *CurrentRecord, Marks, outerWidth(), FrameNumber, MarkCursor);
    sfigmo::DrawSignalWarning(c, sfigmo::AssessRecordQuality(*CurrentRecord, Marks,
                                                             CurrentRecord->SamplePeriod));
    Button4->setEnabled(true);
  } else {
    showStatus(Memo2, QColor(255, 0, 0), QStringLiteral("      ОШИБКА"));
    CheckFailed = 1;
    processPendingEvents();
    c.setFontColor(sfigmo::colours::Black);
    c.setBrushColor(TreeView1->background());
    sfigmo::DrawRejection(c);
    sfigmo::DrawRejectionReason(
        c, sfigmo::RejectionReason(
               verdict, *CurrentRecord,
               QChar::fromLatin1(sfigmo::ShownDecimalSeparator(options_.decimalSeparator))));
    processPendingEvents();
  }
}
