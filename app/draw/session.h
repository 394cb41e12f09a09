#pragma once
// What the user is working on in the main window: the screen the trace area
// shows, whether the conclusion has been shown since the last run, and which
// controls are usable and visible. The areas' actions change it and name no
// widget; the window maps it onto its widgets (SessionView). The window's
// screen flags are views of it. Main thread only.

#include <QColor>
#include <QString>
#include <array>
#include <initializer_list>
#include <optional>

class QListWidget;

namespace sfigmo {

class TraceArea;

enum class Screen {
  Idle,     // nothing to draw again
  LiveRun,  // the live trace of a run
  Check,    // the recording check's frame or its rejection
  Results,  // the calculation's results
  Conclusion,
  Registration,  // the patient fields over the trace area
  ArchiveList,
  OpenedRecord,  // a record opened from the archive list
  TrendList,
  TrendGraph,
  Error,  // an opened record the check rejects
};

// The window's controls by what they do.
enum class Control {
  Start,
  Measure,
  Check,
  Calculate,
  Conclude,
  StopAutomatic,
  StopManual,
  ModeSwitches,     // "Автомат" and "Ручное"
  PatientFields,    // patient, age, sex and the note
  PatientCaptions,  // the fields' captions
  ArchiveList,
  TrendList,
  OpenItem,
  RegisterItem,
  SaveItem,
  PrintItem,
  TrendItem,
  SmsItem,
};
inline constexpr int kControlCount = static_cast<int>(Control::SmsItem) + 1;

// The window's lines of text.
enum class StatusLine { Signal, Status };

// The patient's texts of registration.
enum class PatientText { Name, Age, Sex };

// The steps of the window's flag and enabling rules; each is one row of the
// table in session.cpp.
enum class Step {
  Created,
  StepButtonsHidden,  // the window's first state and every activation's
  Activated,
  SensorMissing,
  StartPressed,
  StartChainEnded,
  RunBegins,
  RunEnded,
  RunEndedAutomatic,
  RunEndedManual,
  RunModeSwitchesBack,
  StopAutomatic,
  StopManual,
  ModeAutomatic,
  ModeManual,
  CheckShown,
  ResultsShown,
  ConclusionShown,
  ArchiveListed,
  ArchiveRecordChosen,
  RecordOpened,
  RegistrationShown,
  FieldsShown,
  Saved,
  TrendListed,
  TrendRangeChosen,
  FileMenuOpened,
  ServiceMenuOpened,
};

enum class Change { Enable, Disable, Show, Hide, ShowEnabled, HideDisabled };

struct ControlChange {
  Control control;
  Change change;
};

// One row of the rules: the screen it leads to (or the screens it leaves
// for Idle), the conclusion flag, and the controls it changes in order.
struct StepRule {
  Step step;
  std::optional<Screen> screen = {};
  std::initializer_list<Screen> leaves = {};
  std::optional<bool> conclusionShown = {};
  std::initializer_list<ControlChange> changes = {};
};

// What the window does for the session: shows a control's state and the
// lines of text, and lends the parts the areas fill in or read.
class SessionView {
 public:
  virtual ~SessionView() = default;
  virtual void applyControl(Control control, bool enabled, bool visible) = 0;
  virtual void showStatus(StatusLine line, const QColor& background, const QString& text) = 0;
  // Shows `line` with its text replaced and its colour kept.
  virtual void setStatusText(StatusLine line, const QString& text) = 0;
  virtual QColor statusBackground(StatusLine line) const = 0;
  virtual void setBatteryText(const QString& text) = 0;

  virtual TraceArea& trace() = 0;
  virtual QColor baseColour() const = 0;  // the window's, for the trace area after a good check
  virtual int outerWidth() const = 0;     // frame included, as the platform reports it

  virtual QListWidget& list(Control which) = 0;  // ArchiveList or TrendList
  virtual QString patientText(PatientText which) const = 0;
  virtual void setPatientText(PatientText which, const QString& text) = 0;
  virtual QString noteText() const = 0;
  virtual void setNoteText(const QString& text) = 0;
  virtual void appendNoteLine(const QString& line) = 0;

  virtual void setProgressMaximum(int maximum) = 0;
  virtual void setProgress(int position) = 0;
  virtual int gainSetting() const = 0;
  virtual bool automaticChosen() const = 0;
  virtual bool manualChosen() const = 0;
};

class Session {
 public:
  explicit Session(SessionView& view);

  SessionView& view() const { return view_; }

  Screen screen() const { return screen_; }
  void show(Screen screen) { screen_ = screen; }
  bool conclusionShown() const { return conclusionShown_; }
  void setConclusionShown(bool shown) { conclusionShown_ = shown; }

  // The screen flags the replay and the actions share, as views.
  int CheckViewShown() const { return screen_ == Screen::Check; }
  int AnalysisViewShown() const { return screen_ == Screen::Results; }
  int RegistrationViewShown() const { return screen_ == Screen::Registration; }
  int TrendViewShown() const { return screen_ == Screen::TrendGraph; }
  int ConclusionShown() const { return conclusionShown_; }

  // Applies one row of the rules.
  void apply(Step step);
  void change(Control control, Change change);
  void setEnabled(Control control, bool enabled);
  void setVisible(Control control, bool visible);
  bool enabled(Control control) const { return state(control).enabled; }
  bool visible(Control control) const { return state(control).visible; }
  // What the window shows: enabled, and not held by a run.
  bool usable(Control control) const;

  // While a run is in progress the menu items that open another window or
  // replace the records are held unusable. Nests.
  void holdMenus(bool hold);

  void showStatus(StatusLine line, const QColor& background, const QString& text) {
    view_.showStatus(line, background, text);
  }

 private:
  struct ControlState {
    bool enabled = true;
    bool visible = true;
  };
  ControlState& state(Control c) { return controls_[static_cast<int>(c)]; }
  const ControlState& state(Control c) const { return controls_[static_cast<int>(c)]; }
  void present(Control control);

  SessionView& view_;
  Screen screen_ = Screen::Idle;
  bool conclusionShown_ = false;
  std::array<ControlState, kControlCount> controls_{};
  int menusHeld_ = 0;
};

}  // namespace sfigmo
