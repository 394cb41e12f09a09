// The window's flag and enabling rules, row by row: what each step leaves
// on the screen flags and the controls, and that the window's widgets show
// exactly what the session holds.

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <initializer_list>
#include <utility>
#include <vector>

#include "draw/session.h"
#include "test_window.h"

namespace sfigmo {
namespace {

using enum Control;

// Each control's widgets (a menu item is an action: enabled only).
std::vector<QWidget*> WidgetsOf(TForm1& f, Control c) {
  switch (c) {
    case Start:
      return {f.Button1};
    case Measure:
      return {f.Button2};
    case Check:
      return {f.Button3};
    case Calculate:
      return {f.Button4};
    case Conclude:
      return {f.Button5};
    case StopAutomatic:
      return {f.Button8};
    case StopManual:
      return {f.Button10};
    case ModeSwitches:
      return {f.RadioButton1, f.RadioButton2};
    case PatientFields:
      return {f.Memo3, f.Edit1, f.Edit2, f.Edit3};
    case PatientCaptions:
      return {f.StaticText1, f.StaticText2, f.StaticText3};
    case ArchiveList:
      return {f.ListBox1};
    case TrendList:
      return {f.ListBox2};
    default:
      return {};
  }
}

QAction* ItemOf(TForm1& f, Control c) {
  switch (c) {
    case OpenItem:
      return f.Open_;
    case RegisterItem:
      return f.Regis_;
    case SaveItem:
      return f.Save_;
    case PrintItem:
      return f.Print_;
    case TrendItem:
      return f.Graf_;
    case SmsItem:
      return f.SMS2_;
    default:
      return nullptr;
  }
}

void ExpectWindowShowsSession(TForm1& f) {
  const Session& s = f.session();
  for (int i = 0; i < kControlCount; ++i) {
    const auto c = static_cast<Control>(i);
    SCOPED_TRACE(i);
    if (QAction* item = ItemOf(f, c)) {
      EXPECT_EQ(item->isEnabled(), s.usable(c));
    }
    for (QWidget* w : WidgetsOf(f, c)) {
      EXPECT_EQ(w->isEnabled(), s.usable(c)) << w->objectName().toStdString();
      EXPECT_EQ(!w->isHidden(), s.visible(c)) << w->objectName().toStdString();
    }
  }
}

struct Row {
  const char* name;
  Step step;
  Screen before;
  // CheckViewShown, AnalysisViewShown, RegistrationViewShown, TrendViewShown
  // and ConclusionShown after the step, in that order.
  std::array<int, 5> flags;
  std::initializer_list<std::pair<Control, bool>> usable = {};
  std::initializer_list<std::pair<Control, bool>> visible = {};
};

// clang-format off
const Row kRows[] = {
    {"activation leaves the replayed screens", Step::Activated, Screen::TrendGraph,
     {0, 0, 0, 0, 1}},
    {"step buttons hidden", Step::StepButtonsHidden, Screen::Idle, {0, 0, 0, 0, 1},
     {{Check, false}, {StopAutomatic, false}, {StopManual, false}},
     {{Measure, false}, {Conclude, false}, {StopAutomatic, false}, {StopManual, false}}},
    {"no sensor", Step::SensorMissing, Screen::Idle, {0, 0, 0, 0, 1},
     {{Start, false}, {Measure, false}, {Check, false}}},
    {"START pressed", Step::StartPressed, Screen::Idle, {0, 0, 0, 0, 1},
     {{Start, false}, {StopAutomatic, true}},
     {{Start, false}, {Measure, false}, {StopAutomatic, true}}},
    {"run begins", Step::RunBegins, Screen::Check, {0, 0, 0, 0, 0},
     {{ModeSwitches, false}, {RegisterItem, false}, {Calculate, false}},
     {{PatientFields, false}, {ArchiveList, false}, {TrendList, false}}},
    {"run ended, automatic", Step::RunEndedAutomatic, Screen::LiveRun, {0, 0, 0, 0, 1},
     {{Start, true}}, {{Start, true}}},
    {"automatic STOP", Step::StopAutomatic, Screen::LiveRun, {0, 0, 0, 0, 1},
     {{StopAutomatic, false}, {Start, true}}, {{StopAutomatic, false}, {Start, true}}},
    {"manual mode", Step::ModeManual, Screen::Results, {0, 0, 0, 0, 1},
     {{Check, true}, {Calculate, false}, {Conclude, false}},
     {{Start, false}, {Measure, true}, {Conclude, true}}},
    {"manual mode keeps registration", Step::ModeManual, Screen::Registration, {0, 0, 1, 0, 1}},
    {"automatic mode", Step::ModeAutomatic, Screen::Check, {0, 0, 0, 0, 1},
     {{Check, false}}, {{Start, true}, {Measure, false}}},
    {"check", Step::CheckShown, Screen::TrendGraph, {1, 0, 0, 0, 0}, {{RegisterItem, false}}},
    {"results", Step::ResultsShown, Screen::Check, {0, 1, 0, 0, 0}, {{RegisterItem, false}}},
    {"conclusion", Step::ConclusionShown, Screen::Results, {0, 0, 0, 0, 1},
     {{RegisterItem, true}}},
    {"registration", Step::RegistrationShown, Screen::Conclusion, {0, 0, 1, 0, 1}},
    {"saved", Step::Saved, Screen::Registration, {0, 0, 1, 0, 0}, {{SaveItem, false}},
     {{PatientFields, false}, {PatientCaptions, false}}},
    {"archive list", Step::ArchiveListed, Screen::Check, {0, 0, 0, 0, 0},
     {{Check, false}, {Calculate, false}},
     {{ArchiveList, true}, {TrendList, false}, {Start, false}, {Check, true}}},
    {"record opened", Step::RecordOpened, Screen::ArchiveList, {0, 0, 0, 0, 0},
     {{Check, true}, {RegisterItem, false}}, {{ArchiveList, false}}},
    {"trend list", Step::TrendListed, Screen::TrendGraph, {0, 0, 0, 0, 0},
     {{Conclude, false}}, {{TrendList, true}, {ArchiveList, false}}},
    {"File menu leaves the trend graph", Step::FileMenuOpened, Screen::TrendGraph,
     {0, 0, 0, 0, 1}},
    {"File menu keeps the check", Step::FileMenuOpened, Screen::Check, {1, 0, 0, 0, 1}},
    {"Service menu hides the lists", Step::ServiceMenuOpened, Screen::TrendGraph,
     {0, 0, 0, 0, 1}, {}, {{ArchiveList, false}, {TrendList, false}}},
};
// clang-format on

TEST(SessionTable, EveryRowSetsItsFlagsAndControlsAndTheWindowShowsThem) {
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    test::TestWindow t;
    TForm1& f = *t.form;
    Session& s = f.session();
    // Whatever the step does not set shows through: everything usable and
    // in view, the conclusion shown.
    for (int i = 0; i < kControlCount; ++i) s.change(static_cast<Control>(i), Change::ShowEnabled);
    s.show(row.before);
    s.setConclusionShown(true);

    s.apply(row.step);
    EXPECT_EQ((std::array{s.CheckViewShown(), s.AnalysisViewShown(), s.RegistrationViewShown(),
                          s.TrendViewShown(), s.ConclusionShown()}),
              row.flags);
    for (const auto& [c, usable] : row.usable) EXPECT_EQ(s.usable(c), usable) << int(c);
    for (const auto& [c, visible] : row.visible) EXPECT_EQ(s.visible(c), visible) << int(c);
    ExpectWindowShowsSession(f);
  }
}

TEST(SessionTable, ARunHoldsTheMenusThatReplaceTheRecordsUntilItsOutermostRelease) {
  test::TestWindow t;
  TForm1& f = *t.form;
  Session& s = f.session();
  s.setEnabled(SaveItem, true);
  s.holdMenus(true);
  s.holdMenus(true);  // the run inside START's chain
  s.holdMenus(false);
  for (Control c : {OpenItem, SaveItem, PrintItem, TrendItem, SmsItem}) EXPECT_FALSE(s.usable(c));
  EXPECT_FALSE(s.usable(RegisterItem));  // disabled, not held
  s.setEnabled(RegisterItem, true);
  EXPECT_TRUE(s.usable(RegisterItem));
  ExpectWindowShowsSession(f);
  s.holdMenus(false);
  for (Control c : {OpenItem, SaveItem, PrintItem, TrendItem, SmsItem}) EXPECT_TRUE(s.usable(c));
  ExpectWindowShowsSession(f);
}

}  // namespace
}  // namespace sfigmo
