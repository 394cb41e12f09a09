// The main window's parts as each area's actions see them, and the window's
// services those actions call back: hiding the patient area, the program
// folder, a message now, a modal window.

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <memory>
#include <utility>
#include <vector>

#include "acquisition/screens/measurement_actions.h"
#include "acquisition/startup_check.h"
#include "analysis/screens/analysis_actions.h"
#include "draw/message_text.h"
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

void TForm1::hidePatientArea() {
  for (QWidget* w : std::initializer_list<QWidget*>{ListBox1, ListBox2, Memo3, Edit1, Edit2, Edit3,
                                                    StaticText1, StaticText2, StaticText3}) {
    w->hide();
  }
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

sfigmo::ShownScreens TForm1::shownScreens() {
  return {CheckViewShown, AnalysisViewShown, RegistrationViewShown, TrendViewShown,
          ConclusionShown};
}

sfigmo::WorkingRecord TForm1::workingRecord() {
  return {CurrentRecord, BrowseRecord, Marks,     Results,
          WorkingPeriod, FrameNumber,  MarkCursor, RecordingCutShort};
}

sfigmo::StorageSurface TForm1::storageSurface() {
  return {.window = this,
          .Button1 = Button1,
          .Button2 = Button2,
          .Button3 = Button3,
          .Button4 = Button4,
          .Button5 = Button5,
          .Memo2 = Memo2,
          .Memo3 = Memo3,
          .Edit1 = Edit1,
          .Edit2 = Edit2,
          .Edit3 = Edit3,
          .StaticText1 = StaticText1,
          .StaticText2 = StaticText2,
          .StaticText3 = StaticText3,
          .ListBox1 = ListBox1,
          .ListBox2 = ListBox2,
          .TreeView1 = TreeView1,
          .Open_ = Open_,
          .Regis_ = Regis_,
          .Save_ = Save_,
          .Graf_ = Graf_,
          .shown = shownScreens(),
          .work = workingRecord(),
          .LastRecordRead = LastRecordRead,
          .ProgramFolder = ProgramFolder,
          .TrendReplay = TrendReplay,
          .RegistrationReplay = RegistrationReplay,
          .presentMessage = [this](const QString& text, const QString& caption, bool isError) {
            presentDeviceMessage(text, caption, isError);
          }};
}

sfigmo::MeasurementSurface TForm1::measurementSurface() {
  return {.window = this,
          .Button1 = Button1,
          .Button2 = Button2,
          .Button3 = Button3,
          .Button4 = Button4,
          .Button5 = Button5,
          .Button8 = Button8,
          .Button10 = Button10,
          .Label1 = Label1,
          .Memo1 = Memo1,
          .Memo2 = Memo2,
          .TreeView1 = TreeView1,
          .ProgressBar1 = ProgressBar1,
          .TrackBar1 = TrackBar1,
          .RadioButton1 = RadioButton1,
          .RadioButton2 = RadioButton2,
          .Regis_ = Regis_,
          .shown = shownScreens(),
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
          .hidePatientFieldsAndLists = [this] { hidePatientArea(); },
          .refreshProgramFolder = [this] { chooseProgramFolder(); },
          .checkAndConclude = [this] { analysis_->CheckAndConclude(); },
          .showMessage = [this](const QString& text, const QString& caption,
                                bool isError) { showMessageNow(text, caption, isError); },
          .offerCheckAgain = [this](const QString& text, const QString& caption) {
            return offerCheckAgainNow(text, caption);
          },
          .holdMenus = [this, held = std::make_shared<std::vector<std::pair<QAction*, bool>>>()](
                           bool hold) {
            if (!hold) {
              for (const auto& [action, enabled] : *held) action->setEnabled(enabled);
              held->clear();
              return;
            }
            for (QAction* action : {Open_, Save_, Print_, Graf_, SMS2_}) {
              held->emplace_back(action, action->isEnabled());
              action->setEnabled(false);
            }
          }};
}

sfigmo::AnalysisSurface TForm1::analysisSurface() {
  return {.window = this,
          .Memo2 = Memo2,
          .TreeView1 = TreeView1,
          .Button4 = Button4,
          .Button5 = Button5,
          .Regis_ = Regis_,
          .shown = shownScreens(),
          .work = workingRecord(),
          .CheckFailed = CheckFailed,
          .decimalSeparator = options_.display.DecimalSeparator,
          .hidePatientFieldsAndLists = [this] { hidePatientArea(); },
          .showResultsDialog =
              [this] {
                if (!PagesDlg) return;
                PagesDlg->setSources(&Results, CurrentRecord.get());
                execModal(PagesDlg);
              }};
}
