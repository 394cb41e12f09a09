#include "draw/session.h"

#include <algorithm>
#include <cassert>

namespace sfigmo {
namespace {

using enum Control;
using enum Change;
using S = Screen;

// Hiding the patient area takes the lists with it.
#define PATIENT_AREA_HIDDEN \
  {ArchiveList, Hide}, {TrendList, Hide}, {PatientFields, Hide}, { PatientCaptions, Hide }

// The window's flag and enabling rules, one row per step, the changes in
// the order the window makes them.
// clang-format off
const StepRule kRules[] = {
    {.step = Step::Created,
     .changes = {{TrendList, Hide},
                 {ArchiveList, Hide},
                 {PatientCaptions, Hide},
                 {PatientFields, Hide},
                 {RegisterItem, Disable},
                 {SaveItem, Disable}}},
    {.step = Step::StepButtonsHidden,
     .changes = {{Check, Disable},
                 {Calculate, Disable},
                 {Conclude, Disable},
                 {Measure, Hide},
                 {Check, Hide},
                 {Calculate, Hide},
                 {Conclude, Hide},
                 {StopAutomatic, HideDisabled},
                 {StopManual, HideDisabled}}},
    {.step = Step::Activated,
     .leaves = {S::LiveRun, S::Check, S::Results, S::Registration, S::ArchiveList,
                S::OpenedRecord, S::TrendList, S::TrendGraph, S::Error}},
    {.step = Step::SensorMissing,
     .changes = {{Start, Disable},
                 {Measure, Disable},
                 {Check, Disable},
                 {Calculate, Disable},
                 {Conclude, Disable}}},
    {.step = Step::StartPressed,
     .changes = {{Start, Disable},
                 {Measure, Hide},
                 {Check, Hide},
                 {Calculate, Hide},
                 {Conclude, Hide},
                 {Start, Hide},
                 {StopAutomatic, ShowEnabled}}},
    {.step = Step::StartChainEnded, .leaves = {S::TrendGraph}, .changes = {{Start, Enable}}},
    {.step = Step::RunBegins,
     .screen = S::LiveRun,
     .conclusionShown = false,
     .changes = {{ModeSwitches, Disable},
                 {Measure, Disable},
                 {RegisterItem, Disable},
                 PATIENT_AREA_HIDDEN,
                 {Check, Disable},
                 {Calculate, Disable},
                 {Conclude, Disable}}},
    {.step = Step::RunEnded,
     .changes = {{Measure, Enable}, {Check, Enable}, {StopAutomatic, HideDisabled}}},
    // After the mode's row of the two below.
    {.step = Step::RunModeSwitchesBack, .changes = {{ModeSwitches, Enable}}},
    {.step = Step::RunEndedAutomatic, .changes = {{Start, ShowEnabled}}},
    {.step = Step::RunEndedManual, .changes = {{StopManual, HideDisabled}}},
    {.step = Step::StopAutomatic, .changes = {{StopAutomatic, HideDisabled}, {Start, ShowEnabled}}},
    {.step = Step::StopManual, .changes = {{Measure, ShowEnabled}}},
    {.step = Step::ModeAutomatic,
     .leaves = {S::TrendGraph, S::Check, S::Results},
     .changes = {{Start, Show},
                 {Measure, Hide},
                 {Check, Hide},
                 {Calculate, Hide},
                 {Conclude, Hide},
                 PATIENT_AREA_HIDDEN,
                 {Check, Disable},
                 {Calculate, Disable},
                 {Conclude, Disable}}},
    {.step = Step::ModeManual,
     .leaves = {S::TrendGraph, S::Check, S::Results},
     .changes = {{Start, Hide},
                 {Measure, Show},
                 {Check, Show},
                 {Calculate, Show},
                 {Conclude, Show},
                 PATIENT_AREA_HIDDEN,
                 {Check, Enable},
                 {Calculate, Disable},
                 {Conclude, Disable}}},
    {.step = Step::CheckShown,
     .screen = S::Check,
     .conclusionShown = false,
     .changes = {{RegisterItem, Disable}, PATIENT_AREA_HIDDEN}},
    {.step = Step::ResultsShown,
     .screen = S::Results,
     .conclusionShown = false,
     .changes = {{RegisterItem, Disable}, PATIENT_AREA_HIDDEN}},
    {.step = Step::ConclusionShown,
     .screen = S::Conclusion,
     .conclusionShown = true,
     .changes = {PATIENT_AREA_HIDDEN, {RegisterItem, Enable}}},
    {.step = Step::ArchiveListed,
     .screen = S::ArchiveList,
     .conclusionShown = false,
     .changes = {{TrendList, Hide},
                 {ArchiveList, Hide},
                 {PatientCaptions, Hide},
                 {PatientFields, Hide},
                 {Check, Disable},
                 {Calculate, Disable},
                 {Conclude, Disable},
                 {ArchiveList, Show},
                 {Start, Hide},
                 {Measure, Show},
                 {Check, Show},
                 {Calculate, Show},
                 {Conclude, Show}}},
    {.step = Step::ArchiveRecordChosen, .changes = {{RegisterItem, Disable}, {PatientFields, Hide}}},
    {.step = Step::RecordOpened,
     .screen = S::OpenedRecord,
     .conclusionShown = false,
     .changes = {{Check, Enable},
                 {RegisterItem, Disable},
                 {TrendList, Hide},
                 {ArchiveList, Hide},
                 {PatientFields, Hide}}},
    {.step = Step::RegistrationShown, .screen = S::Registration},
    {.step = Step::FieldsShown, .changes = {{PatientFields, Show}, {PatientCaptions, Show}}},
    {.step = Step::Saved,
     .conclusionShown = false,
     .changes = {{SaveItem, Disable}, {PatientFields, Hide}, {PatientCaptions, Hide}}},
    {.step = Step::TrendListed,
     .screen = S::TrendList,
     .conclusionShown = false,
     .changes = {{TrendList, Hide},
                 {ArchiveList, Hide},
                 {TrendList, Show},
                 {PatientFields, Hide},
                 {PatientCaptions, Hide},
                 {Check, Disable},
                 {Calculate, Disable},
                 {Conclude, Disable}}},
    {.step = Step::TrendRangeChosen, .changes = {{ArchiveList, Hide}, {TrendList, Hide}}},
    {.step = Step::FileMenuOpened, .leaves = {S::TrendGraph}},
    {.step = Step::ServiceMenuOpened,
     .leaves = {S::TrendGraph},
     .changes = {{TrendList, Hide}, {ArchiveList, Hide}}},
};
// clang-format on

#undef PATIENT_AREA_HIDDEN

// Items a run holds: they open another window or replace the records.
constexpr Control kHeldMenus[] = {OpenItem, SaveItem, PrintItem, TrendItem, SmsItem};

}  // namespace

Session::Session(SessionView& view) : view_(view) { apply(Step::Created); }

void Session::apply(Step step) {
  const auto rule = std::find_if(std::begin(kRules), std::end(kRules),
                                 [step](const StepRule& r) { return r.step == step; });
  assert(rule != std::end(kRules));
  if (rule->screen) screen_ = *rule->screen;
  if (std::find(rule->leaves.begin(), rule->leaves.end(), screen_) != rule->leaves.end()) {
    screen_ = Screen::Idle;
  }
  if (rule->conclusionShown) conclusionShown_ = *rule->conclusionShown;
  for (const ControlChange& c : rule->changes) change(c.control, c.change);
}

void Session::change(Control control, Change change) {
  ControlState& s = state(control);
  switch (change) {
    case Enable:
      s.enabled = true;
      break;
    case Disable:
      s.enabled = false;
      break;
    case Show:
      s.visible = true;
      break;
    case Hide:
      s.visible = false;
      break;
    case ShowEnabled:
      s = {true, true};
      break;
    case HideDisabled:
      s = {false, false};
      break;
  }
  present(control);
}

void Session::setEnabled(Control control, bool enabled) {
  change(control, enabled ? Enable : Disable);
}

void Session::setVisible(Control control, bool visible) { change(control, visible ? Show : Hide); }

bool Session::usable(Control control) const {
  const bool held =
      menusHeld_ > 0 && std::ranges::find(kHeldMenus, control) != std::end(kHeldMenus);
  return enabled(control) && !held;
}

void Session::holdMenus(bool hold) {
  menusHeld_ += hold ? 1 : -1;
  if (menusHeld_ != (hold ? 1 : 0)) return;  // only the outermost hold and release count
  for (Control c : kHeldMenus) present(c);
}

void Session::present(Control control) {
  view_.applyControl(control, usable(control), visible(control));
}

}  // namespace sfigmo
