// Every control a user can see and use takes the mouse where it is drawn:
// for each screen state the window goes through, the window's own hit-test
// at a control's centre (or, where other controls are laid on it on
// purpose, at a point they leave free) lands on that control, and a real
// click there (a mouse event through the top-level window, not
// QAbstractButton::click()) reaches it. The run states are left by a real click on their "СТОП".
//
// The same walk, on a 1920 x 1080 desktop, exposes the window after every
// row as an X server without a compositor does, and the screen the user
// chose must stay.
//
// New screens are covered by adding a row to Screens(): a row brings the
// window from the previous row's state into its own and calls `here` while
// the state lasts.

#include <gtest/gtest.h>

#include <QAction>
#include <QExposeEvent>
#include <QImage>
#include <QLabel>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QWindow>
#include <QtTest/QTest>
#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

#include "acquisition/measurement_run.h"
#include "draw/canvas.h"
#include "draw/session.h"
#include "record_builder.h"
#include "sample_wave.h"
#include "sensor_sim.h"
#include "storage/archive_folder.h"
#include "storage/record_file.h"
#include "test_window.h"

namespace sfigmo {
namespace {

using test::WaitWhileBusy;
using test::SimProcess;
using test::TestWindow;

// Centre of `w` in the top-level window's coordinates.
QPoint CentreInWindow(const QWidget* w) { return w->mapTo(w->window(), w->rect().center()); }

// A real left click at `w`'s centre (or `at`), delivered through the
// window's hit-test.
void RealClick(QWidget* w, std::optional<QPoint> at = {}) {
  QTest::mouseClick(w->window()->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                    at.value_or(CentreInWindow(w)));
}

QRect RectInWindow(const QWidget* w) {
  return QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size());
}

bool IsOrContains(const QWidget* outer, const QWidget* inner) {
  return inner && (inner == outer || outer->isAncestorOf(inner));
}

// Swallows mouse presses and releases on widgets, remembering which widget
// the window delivered the press to; the handlers do not run.
class PressProbe : public QObject {
 public:
  PressProbe() { qApp->installEventFilter(this); }
  ~PressProbe() override { qApp->removeEventFilter(this); }
  QWidget* pressed = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseButtonDblClick)
      return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget) return false;  // the window itself: let it hit-test
    if (type == QEvent::MouseButtonPress) pressed = widget;
    return true;
  }
};

// The named controls of the window that a user can see and use now.
std::vector<QWidget*> UsableControls(TForm1& form) {
  std::vector<QWidget*> out;
  for (QWidget* w : form.findChildren<QWidget*>()) {
    const QString name = w->objectName();
    if (name.isEmpty() || name.startsWith(QLatin1String("qt_"))) continue;
    if (w->window() != &form || !w->isVisible() || !w->isEnabled()) continue;
    if (w->width() <= 0 || w->height() <= 0) continue;
    out.push_back(w);
  }
  return out;
}

// Where `w` is probed: its centre, unless controls laid wholly on it on
// purpose (the registration fields on the trace area) cover that; then the
// first point of a grid over `w` that none of them covers.
QPoint ProbePoint(const QWidget* w, const std::vector<QWidget*>& controls) {
  const QRect area = RectInWindow(w);
  std::vector<QRect> overlays;
  for (const QWidget* o : controls) {
    if (o == w || w->isAncestorOf(o) || o->isAncestorOf(w)) continue;
    if (area.contains(RectInWindow(o))) overlays.push_back(RectInWindow(o));
  }
  const auto free = [&](QPoint p) {
    return std::none_of(overlays.begin(), overlays.end(), [&](QRect r) { return r.contains(p); });
  };
  const QPoint centre = CentreInWindow(w);
  if (free(centre)) return centre;
  for (int j = 1; j < 8; ++j)
    for (int i = 1; i < 8; ++i) {
      const QPoint p(area.left() + area.width() * i / 8, area.top() + area.height() * j / 8);
      if (free(p)) return p;
    }
  return centre;
}

void ExpectEveryControlTakesItsClicks(TForm1& form, const char* state) {
  const std::vector<QWidget*> controls = UsableControls(form);
  ASSERT_FALSE(controls.empty());
  PressProbe probe;
  for (QWidget* w : controls) {
    const QPoint at = ProbePoint(w, controls);
    const std::string where = std::string(state) + ": " + w->objectName().toStdString();
    QWidget* hit = form.childAt(at);
    EXPECT_TRUE(IsOrContains(w, hit))
        << where << " is covered by " << (hit ? hit->objectName().toStdString() : "nothing");
    probe.pressed = nullptr;
    RealClick(w, at);
    EXPECT_TRUE(IsOrContains(w, probe.pressed))
        << where << ": the click went to "
        << (probe.pressed ? probe.pressed->objectName().toStdString() : "nothing");
  }
}

// A screen, and the desktop its panel leaves (none given: the width alone).
struct HitScreen {
  int width;
  int height = 0;
  QRect available() const { return height ? QRect(0, 0, width, height - 40) : QRect(); }
};

class HitTest : public ::testing::TestWithParam<HitScreen> {
 public:
  void SetUp() override {
    sim = test::StartSensorSim();
    ASSERT_TRUE(sim->Started()) << sim->Errors();
    t = std::make_unique<TestWindow>(GetParam().width, QString(), GetParam().available());
    t->form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(t->form.get()));
  }

  // Calls `action` once the running measurement has drawn `steps` steps.
  void during(int steps, std::function<void()> action) {
    auto* timer = new QTimer(t->form.get());
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [this, timer, steps, action] {
      if (t->form->ProgressBar1->value() < steps) return;
      timer->stop();
      timer->deleteLater();
      action();
    });
    timer->start();
  }

  std::unique_ptr<SimProcess> sim;
  std::unique_ptr<TestWindow> t;
};

struct Screen {
  const char* name;
  std::function<void(HitTest&, TForm1&, const std::function<void()>& here)> enter;
};

// A recording the check accepts, in place of a measured one.
void LoadSampleRecording(TForm1& f) {
  FillSampleRecord(*f.CurrentRecord, NormalRestingWave());
  f.WorkingPeriod = f.CurrentRecord->SamplePeriod;
}

// Lays `count` accepted recordings in the archive of the window's program
// folder, so the archive list and the trend list have entries.
void PutArchiveRecords(const TestWindow& t, int count) {
  const std::filesystem::path archive = ArchiveFolder(t.folder.path().toStdString());
  std::filesystem::create_directories(archive);
  for (int i = 0; i < count; ++i) {
    auto r = test::RecordBuilder().Wave(NormalRestingWave()).Build();
    r->Results.PULS = 60 + 5 * i;
    const auto path = archive / ("p" + std::to_string(i) + ".pul");
    ASSERT_TRUE(WriteRecord(path, *r).ok()) << path;
  }
}

// Double-clicks an entry of a list as a user does.
void DoubleClickEntry(QListWidget* list, int row) {
  QListWidgetItem* item = list->item(row);
  ASSERT_NE(item, nullptr);
  const QPoint at = list->visualItemRect(item).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

// Starts a run with a real click on `start`; once it is drawing, calls
// `here`, then stops it with a real click on `stop`, which must end it.
void RunStoppedByClick(HitTest& test, TForm1& f, QPushButton* start, QPushButton* stop,
                       const std::function<void()>& here) {
  bool stopped = false;
  test.during(60, [&] {
    here();
    RealClick(stop);
    // The click may let the run see it and end before it returns.
    stopped = f.StopRequest == 1 || !f.busy();
  });
  RealClick(start);
  WaitWhileBusy(f);
  EXPECT_TRUE(stopped) << stop->objectName().toStdString() << "'s click did not reach its handler";
  EXPECT_EQ(f.CurrentRecord->SampleCount, 0);
}

std::vector<Screen> Screens() {
  return {
      {"ready",
       [](HitTest&, TForm1& f, const auto& here) {
         f.FormActivate();
         sfigmo::test::WaitWhileBusy(f);
         ASSERT_EQ(f.NoSignal, 0);
         here();
       }},
      {"automatic run",
       [](HitTest& test, TForm1& f, const auto& here) {
         RunStoppedByClick(test, f, f.Button1, f.Button8, here);
         EXPECT_FALSE(f.Button1->isHidden());
       }},
      {"manual run",
       [](HitTest& test, TForm1& f, const auto& here) {
         RealClick(f.RadioButton2);
         ASSERT_TRUE(f.RadioButton2->isChecked());
         RunStoppedByClick(test, f, f.Button2, f.Button10, here);
       }},
      {"check view",
       [](HitTest&, TForm1& f, const auto& here) {
         LoadSampleRecording(f);
         RealClick(f.Button3);
         ASSERT_EQ(f.session().CheckViewShown(), 1);
         ASSERT_EQ(f.CheckFailed, 0);
         here();
       }},
      {"results",
       [](HitTest&, TForm1& f, const auto& here) {
         RealClick(f.Button4);
         ASSERT_EQ(f.session().AnalysisViewShown(), 1);
         ASSERT_TRUE(f.Button5->isEnabled());
         here();
       }},
      {"conclusion",
       [](HitTest&, TForm1& f, const auto& here) {
         RealClick(f.Button5);
         WaitWhileBusy(f);
         ASSERT_EQ(f.session().ConclusionShown(), 1);
         here();
       }},
      {"registration",
       [](HitTest&, TForm1& f, const auto& here) {
         f.N1Click();
         ASSERT_TRUE(f.Regis_->isEnabled());
         f.Regis_->trigger();
         ASSERT_TRUE(f.Edit1->isVisible());
         ASSERT_TRUE(f.Memo3->isVisible());
         here();
       }},
      {"archive list",
       [](HitTest& test, TForm1& f, const auto& here) {
         PutArchiveRecords(*test.t, 3);
         f.N1Click();
         f.Open_->trigger();
         ASSERT_TRUE(f.ListBox1->isVisible());
         ASSERT_EQ(f.ListBox1->count(), 3);
         here();
       }},
      {"trend list",
       [](HitTest&, TForm1& f, const auto& here) {
         f.N2Click();
         f.Graf_->trigger();
         ASSERT_TRUE(f.ListBox2->isVisible());
         ASSERT_EQ(f.ListBox2->count(), 3);
         here();
       }},
      {"trend graph",
       [](HitTest&, TForm1& f, const auto& here) {
         DoubleClickEntry(f.ListBox2, 2);
         ASSERT_EQ(f.session().TrendViewShown(), 1);
         here();
       }},
      {"check again",
       [](HitTest&, TForm1& f, const auto& here) {
         f.RadioButton2Click();
         LoadSampleRecording(f);
         RealClick(f.Button3);
         ASSERT_EQ(f.session().CheckViewShown(), 1);
         here();
       }},
      {"archive list over the check",
       [](HitTest&, TForm1& f, const auto& here) {
         f.N1Click();
         f.Open_->trigger();
         ASSERT_TRUE(f.ListBox1->isVisible());
         ASSERT_EQ(f.session().CheckViewShown(), 0);
         here();
       }},
      {"opened record",
       [](HitTest&, TForm1& f, const auto& here) {
         DoubleClickEntry(f.ListBox1, 0);
         ASSERT_EQ(f.LastRecordRead, 1);
         ASSERT_TRUE(f.Button3->isEnabled());
         here();
       }},
      {"trend list over the results",
       [](HitTest&, TForm1& f, const auto& here) {
         RealClick(f.Button3);
         RealClick(f.Button4);
         ASSERT_EQ(f.session().AnalysisViewShown(), 1);
         f.N2Click();
         f.Graf_->trigger();
         ASSERT_TRUE(f.ListBox2->isVisible());
         ASSERT_EQ(f.session().AnalysisViewShown(), 0);
         here();
       }},
  };
}

TEST_P(HitTest, EveryUsableControlTakesRealClicksInEveryScreen) {
  TForm1& f = *t->form;
  for (const Screen& screen : Screens()) {
    SCOPED_TRACE(screen.name);
    bool visited = false;
    screen.enter(*this, f, [&] {
      visited = true;
      ExpectEveryControlTakesItsClicks(f, screen.name);
    });
    ASSERT_TRUE(visited) << screen.name << " was not reached";
    if (HasFatalFailure()) return;
  }
}

// What a repaint may not change: which controls show and take input, what
// was typed, and (outside a run) what the trace area shows.
struct SeenState {
  std::vector<std::pair<bool, bool>> controls;
  QStringList typed;
  QImage trace;
};

SeenState Seen(TForm1& f) {
  SeenState s;
  const QWidget* controls[] = {f.Button1,  f.Button2,  f.Button3,     f.Button4,     f.Button5,
                               f.Button8,  f.Button10, f.ListBox1,    f.ListBox2,    f.Edit1,
                               f.Edit2,    f.Edit3,    f.Memo3,       f.StaticText1, f.Memo2,
                               f.TrackBar1};
  for (const QWidget* w : controls) s.controls.emplace_back(w->isVisible(), w->isEnabled());
  for (const QAction* a : {f.Open_, f.Regis_, f.Save_, f.Print_, f.Graf_, f.SMS2_})
    s.controls.emplace_back(a->isVisible(), a->isEnabled());
  s.typed << f.Edit1->text() << f.Edit2->text() << f.Edit3->text() << f.Memo3->toPlainText()
          << f.Memo2->toPlainText();
  s.trace = f.traceCanvas().image();
  return s;
}

// The platform's expose of the whole window, as an X server sends it when a
// menu closes or another window passes over.
void ForceExpose(TForm1& f) {
  QWindow* window = f.windowHandle();
  QExposeEvent expose{QRegion(QRect(QPoint(), window->size()))};
  QCoreApplication::sendEvent(window, &expose);
  QCoreApplication::processEvents();  // the replay runs from a zero timer
  QCoreApplication::processEvents();
}

class ExposeReplay : public HitTest {};

// After every row of the state table, an expose redraws the current screen
// and nothing else: the screen, the controls and what was typed stay.
TEST_P(ExposeReplay, EveryScreenSurvivesAnExpose) {
  TForm1& f = *t->form;
  for (const Screen& screen : Screens()) {
    SCOPED_TRACE(screen.name);
    bool visited = false;
    screen.enter(*this, f, [&] {
      visited = true;
      if (f.busy()) {  // a run draws on; the replay leaves it alone
        ForceExpose(f);
        return;
      }
      if (f.Edit1->isVisible()) f.Edit1->setText(QStringLiteral("Петров"));
      const SeenState before = Seen(f);
      ForceExpose(f);
      const SeenState after = Seen(f);
      // Every screen on a 1920 x 1080 desktop, to be looked at.
      t->save(QStringLiteral("1920-") + QString::fromUtf8(screen.name).replace(' ', '-'));
      EXPECT_EQ(after.controls, before.controls);
      EXPECT_EQ(after.typed, before.typed);
      // The registration header carries the clock's seconds; the graph's
      // replay draws it afresh, and the pointer's read-out follows the mouse.
      if (!f.session().RegistrationViewShown() && !f.session().TrendViewShown()) {
        EXPECT_TRUE(after.trace == before.trace);
      }
    });
    ASSERT_TRUE(visited) << screen.name << " was not reached";
    if (HasFatalFailure()) return;
  }
}

INSTANTIATE_TEST_SUITE_P(Screen1920, ExposeReplay, ::testing::Values(HitScreen{1920, 1080}),
                         [](const auto&) { return std::string("screen1920x1080"); });

INSTANTIATE_TEST_SUITE_P(Scales, HitTest,
                         ::testing::Values(HitScreen{800}, HitScreen{1280}, HitScreen{1920, 1080},
                                           HitScreen{3440, 1440}),
                         [](const auto& info) {
                           const HitScreen& s = info.param;
                           return "screen" + std::to_string(s.width) +
                                  (s.height ? "x" + std::to_string(s.height) : std::string());
                         });

}  // namespace
}  // namespace sfigmo
