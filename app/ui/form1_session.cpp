// The session as this window's widgets, what each area's actions get of the
// window, and the window's services they call back: the program folder, a
// message now, a modal window.

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <memory>
#include <utility>
#include <vector>

#include "acquisition/screens/measurement_actions.h"
#include "acquisition/startup_check.h"
#include "analysis/screens/analysis_actions.h"
#include "draw/message_text.h"
#include "draw/session.h"
#include "draw/status_memo.h"
#include "draw/trace_area.h"
#include "results/screens/pages_dlg.h"
#include "storage/screens/storage_surface.h"
#include "ui/device_messages.h"
#include "ui/form1.h"
#include "ui/program_folder.h"

void TForm1::chooseProgramFolder() {
  ProgramFolder = options_.programFolder.isEmpty()
                      ? sfigmo::DefaultProgramFolder()
                      : sfigmo::PrepareProgramFolder(options_.programFolder);
}

int TForm1::execModal(QDialog* dialog) {
  const int result = dialog->exec();
  FormActivate();
  return result;
}

void TForm1::showMessageNow(const QString& text, const QString& caption, bool isError) {
  if (options_.messagePresenter) {
    options_.messagePresenter(text, caption, isError);
    return;
  }
  QMessageBox box(isError ? QMessageBox::Critical : QMessageBox::Information, caption, {},
                  QMessageBox::Ok, this);
  box.setFont(font());  // measured below, before it is shown
  box.setText(sfigmo::FitMessageText(text, box.font(), sfigmo::AvailableScreenWidth(screen())));
  box.exec();
}

bool TForm1::offerCheckAgainNow(const QString& text, const QString& caption) {
  if (options_.messagePresenter) {
    options_.messagePresenter(text, caption, true);
    return false;
  }
  QMessageBox box(QMessageBox::Critical, caption, {}, QMessageBox::NoButton, this);
  QPushButton* again =
      box.addButton(QString::fromUtf8(sfigmo::kCheckAgainLabel), QMessageBox::AcceptRole);
  box.addButton(QStringLiteral("Закрыть"), QMessageBox::RejectRole);
  box.setDefaultButton(again);
  box.setText(sfigmo::FitMessageText(text, box.font(), sfigmo::AvailableScreenWidth(screen())));
  box.exec();
  return box.clickedButton() == again;
}

sfigmo::WorkingRecord TForm1::workingRecord() {
  return {CurrentRecord, BrowseRecord, Marks,      Results,
          WorkingPeriod, FrameNumber,  MarkCursor, RecordingCutShort};
}

sfigmo::StorageSurface TForm1::storageSurface() {
  return {.session = *session_,
          .work = workingRecord(),
          .LastRecordRead = LastRecordRead,
          .ProgramFolder = ProgramFolder,
          .presentMessage = [this](const QString& text, const QString& caption, bool isError) {
            presentDeviceMessage(text, caption, isError);
          }};
}

sfigmo::MeasurementSurface TForm1::measurementSurface() {
  return {.window = this,
          .session = *session_,
          .work = workingRecord(),
          .LastRecordRead = LastRecordRead,
          .NoSignal = NoSignal,
          .StopRequest = StopRequest,
          .CheckFailed = CheckFailed,
          .CurrentGain = CurrentGain,
          .libraryFolder = options_.libraryFolder,
          .decimalSeparator = QChar::fromLatin1(options_.display.DecimalSeparator),
          .messageSink = &DeviceMessageSink,
          .messageContext = this,
          .refreshProgramFolder = [this] { chooseProgramFolder(); },
          .checkAndConclude = [this] { analysis_->CheckAndConclude(); },
          .showMessage = [this](const QString& text, const QString& caption,
                                bool isError) { showMessageNow(text, caption, isError); },
          .offerCheckAgain =
              [this](const QString& text, const QString& caption) {
                return offerCheckAgainNow(text, caption);
              }};
}

sfigmo::AnalysisSurface TForm1::analysisSurface() {
  return {.session = *session_,
          .work = workingRecord(),
          .CheckFailed = CheckFailed,
          .decimalSeparator = options_.display.DecimalSeparator,
          .showResultsDialog =
              [this] {
                if (!PagesDlg) return;
                PagesDlg->setSources(&Results, CurrentRecord.get());
                execModal(PagesDlg);
              },
          .afterCheck =
              [this](std::function<void()> step) { measurement_->afterCheck(std::move(step)); }};
}

namespace {

// The session's controls and lines as the window's widgets.
class WindowView : public sfigmo::SessionView {
 public:
  explicit WindowView(TForm1& window) : w_(window) {}

  void applyControl(sfigmo::Control control, bool enabled, bool visible) override {
    using enum sfigmo::Control;
    const auto set = [&](std::initializer_list<QWidget*> widgets) {
      for (QWidget* widget : widgets) {
        widget->setEnabled(enabled);
        widget->setVisible(visible);
      }
    };
    const auto item = [&](QAction* action) { action->setEnabled(enabled); };
    switch (control) {
      case Start:
        return set({w_.Button1});
      case Measure:
        return set({w_.Button2});
      case Check:
        return set({w_.Button3});
      case Calculate:
        return set({w_.Button4});
      case Conclude:
        return set({w_.Button5});
      case StopAutomatic:
        return set({w_.Button8});
      case StopManual:
        return set({w_.Button10});
      case ModeSwitches:
        return set({w_.RadioButton1, w_.RadioButton2});
      case PatientFields:
        return set({w_.Memo3, w_.Edit1, w_.Edit2, w_.Edit3});
      case PatientCaptions:
        return set({w_.StaticText1, w_.StaticText2, w_.StaticText3});
      case ArchiveList:
        return set({w_.ListBox1});
      case TrendList:
        return set({w_.ListBox2});
      case OpenItem:
        return item(w_.Open_);
      case RegisterItem:
        return item(w_.Regis_);
      case SaveItem:
        return item(w_.Save_);
      case PrintItem:
        return item(w_.Print_);
      case TrendItem:
        return item(w_.Graf_);
      case SmsItem:
        return item(w_.SMS2_);
    }
  }
  void showStatus(sfigmo::StatusLine line, const QColor& background, const QString& text) override {
    sfigmo::ShowStatus(memo(line), background, text);
  }
  void setStatusText(sfigmo::StatusLine line, const QString& text) override {
    memo(line)->show();
    memo(line)->setPlainText(text);
  }
  QColor statusBackground(sfigmo::StatusLine line) const override {
    return memo(line)->palette().color(QPalette::Base);
  }
  void setBatteryText(const QString& text) override { w_.Label1->setText(text); }

  sfigmo::TraceArea& trace() override { return *w_.TreeView1; }
  QColor baseColour() const override { return w_.palette().color(QPalette::Base); }
  int outerWidth() const override { return w_.outerWidth(); }

  QListWidget& list(sfigmo::Control which) override {
    return which == sfigmo::Control::TrendList ? *w_.ListBox2 : *w_.ListBox1;
  }
  QString patientText(sfigmo::PatientText which) const override { return edit(which)->text(); }
  void setPatientText(sfigmo::PatientText which, const QString& text) override {
    edit(which)->setText(text);
  }
  QString noteText() const override { return w_.Memo3->toPlainText(); }
  void setNoteText(const QString& text) override {
    if (text.isEmpty()) {
      w_.Memo3->clear();
    } else {
      w_.Memo3->setPlainText(text);
    }
  }
  void appendNoteLine(const QString& line) override { w_.Memo3->appendPlainText(line); }

  void setProgressMaximum(int maximum) override {
    w_.ProgressBar1->setRange(0, maximum > 0 ? maximum : 0);
  }
  void setProgress(int position) override { w_.ProgressBar1->setValue(position); }
  int gainSetting() const override { return w_.TrackBar1->value(); }
  bool automaticChosen() const override { return w_.RadioButton1->isChecked(); }
  bool manualChosen() const override { return w_.RadioButton2->isChecked(); }

 private:
  QPlainTextEdit* memo(sfigmo::StatusLine line) const {
    return line == sfigmo::StatusLine::Signal ? w_.Memo1 : w_.Memo2;
  }
  QLineEdit* edit(sfigmo::PatientText which) const {
    switch (which) {
      case sfigmo::PatientText::Name:
        return w_.Edit1;
      case sfigmo::PatientText::Age:
        return w_.Edit2;
      case sfigmo::PatientText::Sex:
        return w_.Edit3;
    }
    return w_.Edit1;
  }

  TForm1& w_;
};

}  // namespace

void TForm1::createSession() {
  view_ = std::make_unique<WindowView>(*this);
  session_ = std::make_unique<sfigmo::Session>(*view_);
}
