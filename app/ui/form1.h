#pragma once
// The main window: every control of the working surface as a public member
// under its layout name, the values that the actions share, the screen
// replay and the start-up check. Main thread only.
//
// Activation (the start-up check, FormActivate) runs once after the first
// show and again after each of the program's own modal windows closes: open
// them through execModal(), or call FormActivate() yourself afterwards.
// Switching to another application and back is not an activation.

#include <QMainWindow>
#include <QRect>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "analysis/beat_marking.h"
#include "draw/design_scale.h"
#include "draw/display_settings.h"
#include "record/analysis_results.h"
#include "record/pulsogram_record.h"

class QAction;
class QDialog;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QStyle;
class QRadioButton;
class QSlider;
class QStatusBar;
class TPagesDlg;
class TForm3;
class TForm4;

namespace sfigmo {
class Session;
class SessionView;
struct WorkingRecord;
struct StorageSurface;
struct MeasurementSurface;
struct AnalysisSurface;
class MeasurementActions;
class AnalysisActions;
class Canvas;
class TraceArea;
class DeviceLibrary;
}  // namespace sfigmo

// Settings a test can replace; the program uses the defaults.
struct TForm1Options {
  // Decimal separator of the numbers shown, and the screen width used for
  // the creation-time scaling (0: the primary screen's).
  sfigmo::DisplaySettings display;
  // Desktop area the window must fit and is centred in. Null: the primary
  // screen's available area, or, when a screen width is given, a square screen
  // that wide (tall enough for any scale).
  QRect availableArea;
  // Folder from which libsensordrv.so is loaded; empty: the executable's.
  QString libraryFolder;
  // Folder for the archive; empty: the executable's folder when writable,
  // else $XDG_DATA_HOME/sfigmo/.
  QString programFolder;
  // Shows one message of the device library (text, caption, isError). May be
  // called on the main thread only; empty: a modal message box.
  std::function<void(const QString&, const QString&, bool)> messagePresenter;
  // The first show runs the start-up check by itself (false in tests that
  // want to call FormActivate() themselves).
  bool activateOnFirstShow = true;
};

class TForm1 : public QMainWindow {
  Q_OBJECT

 public:
  explicit TForm1(TForm1Options options = {}, QWidget* parent = nullptr);
  ~TForm1() override;

  // --- controls (positions in design pixels, scaled at creation) ---
  QPushButton* Button1 = nullptr;          // "СТАРТ"
  QPushButton* Button2 = nullptr;          // "Изме&р"
  QPushButton* Button3 = nullptr;          // "Про&в"
  QPushButton* Button4 = nullptr;          // "Расче&т"
  QPushButton* Button5 = nullptr;          // "Заклю&ч"
  QPushButton* Button8 = nullptr;          // "СТОП", automatic mode
  QPushButton* Button10 = nullptr;         // "СТОП", manual mode
  QPushButton* BitBtn1 = nullptr;          // "&Выход"
  QLabel* Label1 = nullptr;                // battery text
  QPlainTextEdit* Memo1 = nullptr;         // signal status
  QPlainTextEdit* Memo2 = nullptr;         // status / messages
  QPlainTextEdit* Memo3 = nullptr;         // general information (note)
  QLineEdit* Edit1 = nullptr;              // patient
  QLineEdit* Edit2 = nullptr;              // age
  QLineEdit* Edit3 = nullptr;              // sex
  QLabel* StaticText1 = nullptr;           // "ПАЦИЕНТ"
  QLabel* StaticText2 = nullptr;           // "ВОЗРАСТ"
  QLabel* StaticText3 = nullptr;           // "ПОЛ"
  QListWidget* ListBox1 = nullptr;         // archive list, sorted
  QListWidget* ListBox2 = nullptr;         // trend list, sorted
  sfigmo::TraceArea* TreeView1 = nullptr;  // the trace area
  QProgressBar* ProgressBar1 = nullptr;
  QSlider* TrackBar1 = nullptr;          // hidden gain setting, 0..40
  QRadioButton* RadioButton1 = nullptr;  // "Автомат"
  QRadioButton* RadioButton2 = nullptr;  // "Ручное"
  QStatusBar* StatusBar1 = nullptr;
  QWidget* Panel1 = nullptr;  // lower panel holding the trace area

  // --- menu ---
  QMenu* FileMenu = nullptr;     // "Фай&л", opening it runs N1Click
  QMenu* ServiceMenu = nullptr;  // "Сервис", opening it runs N2Click
  QAction* Open_ = nullptr;      // "Отк&р"
  QAction* Regis_ = nullptr;     // "Реги&c"
  QAction* Save_ = nullptr;      // "Со&хр"
  QAction* Print_ = nullptr;     // "Печать" (N7Click)
  QAction* Graf_ = nullptr;      // "Графика"
  QAction* SMS2_ = nullptr;      // "МобSMS"
  QAction* Help_ = nullptr;      // "Справка" (N3Click)

  // --- shared values ---
  // The screen, its flags (CheckViewShown and the others, as views) and
  // which controls are usable: the window shows what it holds.
  sfigmo::Session& session() { return *session_; }
  int LastRecordRead = 0;
  int NoSignal = 1;
  int StopRequest = 0;
  int CheckFailed = 0;
  int FrameNumber = 1;
  int MarkCursor = 1;
  int CurrentGain = 20;
  double WorkingPeriod = 0.0;
  bool RecordingCutShort = false;  // the sensor cut CurrentRecord short
  QString ProgramFolder;  // with a trailing '/'

  std::unique_ptr<sfigmo::PulsogramRecord> CurrentRecord;
  std::unique_ptr<sfigmo::PulsogramRecord> BrowseRecord;
  sfigmo::MarkTable Marks;
  sfigmo::AnalysisResults Results;

  // Created after this window (program start); not owned.
  TPagesDlg* PagesDlg = nullptr;
  TForm3* Form3 = nullptr;  // phone SMS window
  TForm4* PrintForm = nullptr;

  // The trace area's drawing surface (625 x 217 design pixels, silver).
  sfigmo::Canvas& traceCanvas();
  // Outer width of the window as the platform reports it (frame included).
  int outerWidth() const;
  // Lets pending window events run (repaints, STOP clicks).
  // Makes a memo visible, sets its background and replaces its text.
  static void showStatus(QPlainTextEdit* memo, const QColor& background, const QString& text);
  // Runs a modal window of the program, then the start-up check again.
  int execModal(QDialog* dialog);

  // --- handlers (form1_actions.cpp hands each to its area's actions) ---
  void FormActivate();       // start-up check: binding, resets, sensor test
  void FormPaint();          // screen replay of the flagged screens
  void N1Click();            // "Фай&л" opens
  void N2Click();            // "Сервис" opens
  void N3Click();            // "Справка": the help window at its contents page
  void N7Click();            // "Печать": the print window, modally
  void Button1Click();       // "СТАРТ": run, check, calculation, conclusion
  void Button2Click();       // "Изме&р": measurement run
  void Button3Click();       // "Про&в": recording check
  void RunCalculation();     // "Расче&т" (Button4)
  void ShowConclusion();     // "Заклю&ч" (Button5)
  void Button8Click();       // automatic-mode STOP
  void Button10Click();      // manual-mode STOP
  void RadioButton1Click();  // "Автомат"
  void RadioButton2Click();  // "Ручное"
  void SMS2Click();          // "МобSMS": the phone SMS window, modally

  // Screens of later actions that the replay redraws (trend graph,
  // registration header); empty until those actions install them.
  std::function<void()> TrendReplay;
  std::function<void()> RegistrationReplay;

  // Shows one message of the device library through the presenter.
  void presentDeviceMessage(const QString& text, const QString& caption, bool isError);
  QObject* deviceMessageInbox();  // where the reader thread's messages are queued
  // True while the measurement run, the START chain or the start-up check
  // is in progress.
  bool busy() const;
  // The device library as bound by the last activation (tests look at it).
  sfigmo::DeviceLibrary& deviceLibrary();
  // Design-to-screen factor chosen at creation.
  double scaleFactor() const { return layout_.scale(); }
  const sfigmo::DesignLayout& designLayout() const { return layout_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate();
  void buildControls();
  void buildMenu();
  void place(QWidget* w, int left, int top, int width, int height) const;
  int scaled(int designPixels) const { return layout_.px(designPixels); }
  QRect availableArea() const;
  void chooseProgramFolder();
  void createSession();  // after the controls: the session shows its first state on them
  void scheduleReplay();
  // The style whose indicators and menu entries grow with the scaled font
  // (made at the first call, owned by the window).
  QStyle* scaledStyle();
  // Shows one message at once: the presenter's, or a modal message box.
  void showMessageNow(const QString& text, const QString& caption, bool isError);
  // An error box whose own button checks the sensor again; true when pressed.
  bool offerCheckAgainNow(const QString& text, const QString& caption);
  // What each area's actions may touch of this window (form1_session.cpp).
  sfigmo::WorkingRecord workingRecord();
  sfigmo::StorageSurface storageSurface();
  sfigmo::MeasurementSurface measurementSurface();
  sfigmo::AnalysisSurface analysisSurface();

  TForm1Options options_;
  sfigmo::DesignLayout layout_;
  bool firstShowDone_ = false;
  bool replaying_ = false;
  bool replayQueued_ = false;
  QStyle* scaledStyle_ = nullptr;
  std::unique_ptr<sfigmo::SessionView> view_;
  std::unique_ptr<sfigmo::Session> session_;
  std::unique_ptr<sfigmo::MeasurementActions> measurement_;
  std::unique_ptr<sfigmo::AnalysisActions> analysis_;
};
