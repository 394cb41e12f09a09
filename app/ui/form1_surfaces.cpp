// The main window's parts as each area's actions see them.

#include "acquisition/screens/measurement_actions.h"
#include "analysis/screens/analysis_actions.h"
#include "results/screens/pages_dlg.h"
#include "storage/screens/storage_surface.h"
#include "ui/device_messages.h"
#include "ui/form1.h"

sfigmo::ShownScreens TForm1::shownScreens() {
  return {CheckViewShown, AnalysisViewShown, RegistrationViewShown, TrendViewShown,
          ConclusionShown};
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
          .LastRecordRead = LastRecordRead,
          .FrameNumber = FrameNumber,
          .MarkCursor = MarkCursor,
          .WorkingPeriod = WorkingPeriod,
          .ProgramFolder = ProgramFolder,
          .CurrentRecord = CurrentRecord,
          .BrowseRecord = BrowseRecord,
          .Marks = Marks,
          .Results = Results,
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
          .LastRecordRead = LastRecordRead,
          .NoSignal = NoSignal,
          .StopRequest = StopRequest,
          .CheckFailed = CheckFailed,
          .FrameNumber = FrameNumber,
          .MarkCursor = MarkCursor,
          .CurrentGain = CurrentGain,
          .WorkingPeriod = WorkingPeriod,
          .CurrentRecord = CurrentRecord,
          .BrowseRecord = BrowseRecord,
          .Marks = Marks,
          .libraryFolder = options_.libraryFolder,
          .decimalSeparator = QChar::fromLatin1(options_.display.DecimalSeparator),
          .messageSink = &DeviceMessageSink,
          .messageContext = this,
          .hidePatientFieldsAndLists = [this] { hidePatientFieldsAndLists(); },
          .refreshProgramFolder = [this] { refreshProgramFolder(); },
          .checkAndConclude = [this] { analysis_->CheckAndConclude(); },
          .showMessage = [this](const QString& text, const QString& caption,
                                bool isError) { showMessageNow(text, caption, isError); }};
}

sfigmo::AnalysisSurface TForm1::analysisSurface() {
  return {.window = this,
          .Memo2 = Memo2,
          .TreeView1 = TreeView1,
          .Button4 = Button4,
          .Button5 = Button5,
          .Regis_ = Regis_,
          .shown = shownScreens(),
          .CheckFailed = CheckFailed,
          .FrameNumber = FrameNumber,
          .MarkCursor = MarkCursor,
          .WorkingPeriod = WorkingPeriod,
          .CurrentRecord = CurrentRecord,
          .Marks = Marks,
          .Results = Results,
          .decimalSeparator = options_.display.DecimalSeparator,
          .hidePatientFieldsAndLists = [this] { hidePatientFieldsAndLists(); },
          .showResultsDialog =
              [this] {
                if (!PagesDlg) return;
                PagesDlg->setSources(&Results, CurrentRecord.get());
                execModal(PagesDlg);
              }};
}
