// "Графика", the trend list and the graph with its read-out, checked on the
// trace area.
#include <QAction>
#include <QMouseEvent>
#include <cmath>

#include "archive_window.h"
#include "draw/canvas.h"
#include "draw/session.h"
#include "draw/trace_area.h"
#include "screen_checks.h"

namespace sfigmo::test {
namespace {

class Trends : public ArchiveWindow {
 protected:
  // Records p0.pul, p1.pul, ... whose pulse is 60 + 3p, except `p72`,
  // which holds PULS 72 and VRKI 0.125.
  void PutRecords(int count, int p72 = -1) {
    for (int p = 0; p < count; ++p) {
      char name[16];
      std::snprintf(name, sizeof name, "p%03d.pul", p);
      auto r = p == p72 ? TrendRecord("Петров", 72, 0.125, 0.1, 0.05)
                        : TrendRecord("Иванов", 60 + 3 * p, 0.05, 0.12, 0.04);
      Put(archive() / name, *r);
    }
  }
  void Graf() {
    form->N2Click();  // the "Сервис" menu opens first
    form->Graf_->trigger();
  }
  void Move(int x, int y = 150) {
    QMouseEvent move(QEvent::MouseMove, QPointF(x, y), form->TreeView1->mapToGlobal(QPointF(x, y)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(form->TreeView1, &move);
  }
  const Canvas& trace() { return form->traceCanvas(); }
  // The curve passes (x, y) in `colour` (or one pixel beside it).
  bool Point(int x, int y, QColor colour) {
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx)
        if (trace().pixel(x + dx, y + dy) == colour) return true;
    return false;
  }

  // 300 intervals of step 2 would end at x 620, in the legend: the curves and
  // the grid end at the axis, and the pointer reads the last point drawn.
  void ExpectALongRangeInsideTheGraph(const QString& picture) {
    for (int p = 0; p <= 300; ++p) {
      char name[16];
      std::snprintf(name, sizeof name, "p%03d.pul", p);
      Put(archive() / name, *TrendRecord("Иванов", 60 + p % 20, 0.05, 0.12, 0.04));
    }
    Graf();
    Click(form->ListBox2, 0);
    DoubleClick(form->ListBox2, 300);
    ASSERT_EQ(form->session().TrendViewShown(), 1);
    ASSERT_EQ(actions->trends().rangeRule().rangeStart(), 0);
    const Canvas& area = trace();
    const DesignLayout& m = area.layout();
    // No curve colour right of the axis; no grid below the legend's texts.
    int outside = 0;
    for (int y = 0; y < area.height(); ++y) {
      for (int x = m.px(522); x < area.width(); ++x) {
        const QColor c = area.pixel(x, y);
        outside += c == colours::Red || c == colours::Blue || c == colours::Green ||
                   (y >= m.px(150) && c != colours::White);
      }
    }
    EXPECT_EQ(outside, 0);
    EXPECT_TRUE(Point(m.px(520), m.px(200 - (60 + 250 % 20)), colours::Red));  // point 250
    Move(m.px(519), m.px(150));
    EXPECT_TRUE(TextAt(area, 555, 35, QString::number(60 + 250 % 20)));
    SaveScreen(picture);
  }
};

TEST_F(Trends, TwoRecordsLieAtTheEndsOfTheAxis) {
  PutRecords(5, 3);
  Graf();
  EXPECT_TRUE(form->ListBox2->isVisible());
  ASSERT_EQ(form->ListBox2->count(), 5);
  Click(form->ListBox2, 3);
  DoubleClick(form->ListBox2, 4);
  ASSERT_EQ(form->session().TrendViewShown(), 1);
  EXPECT_EQ(actions->trends().rangeRule().rangeStart(), 3);
  EXPECT_EQ(actions->trends().rangeEnd(), 4);
  EXPECT_TRUE(form->ListBox2->isHidden());
  EXPECT_TRUE(Point(20, 128, colours::Red));   // PULS 72
  EXPECT_TRUE(Point(520, 128, colours::Red));  // PULS 72 (60 + 12)
  EXPECT_TRUE(Point(20, 138, colours::Blue));  // VRKI 0.125
  EXPECT_TRUE(Point(520, 175, colours::Blue));
  EXPECT_TRUE(TextAt(trace(), 540, 20, QStringLiteral("1.ПУЛЬС")));
  EXPECT_TRUE(TextAt(trace(), 540, 110, QStringLiteral("4.НАГРУЗКА")));
}

TEST_F(Trends, ThreeIntervalsStep167AndTheLastPointClippedAt520) {
  PutRecords(5);
  Graf();
  DoubleClick(form->ListBox2, 4);  // from the default start, position 1
  ASSERT_EQ(form->session().TrendViewShown(), 1);
  EXPECT_EQ(actions->trends().rangeRule().rangeStart(), 1);
  for (int i = 0; i <= 2; ++i) {
    EXPECT_TRUE(Point(20 + 167 * i, 200 - (63 + 3 * i), colours::Red)) << i;
  }
  // The last point lies at 521, one pixel past the axis: the curve ends at it.
  EXPECT_TRUE(Point(519, 200 - 72, colours::Red));
  EXPECT_FALSE(Point(522, 200 - 72, colours::Red));
}

TEST_F(Trends, ReadOutShowsTheRecordUnderThePointer) {
  PutRecords(5, 3);
  Graf();
  Click(form->ListBox2, 3);
  DoubleClick(form->ListBox2, 4);
  Move(21);
  EXPECT_TRUE(TextAt(trace(), 555, 35, QStringLiteral("72")));
  EXPECT_TRUE(TextAt(trace(), 555, 65, QStringLiteral("0,124")));
  EXPECT_TRUE(TextAt(trace(), 115, 5, QStringLiteral("Петров")));
  EXPECT_TRUE(TextAt(trace(), 260, 5, QStringLiteral("26_12_07_")));
  SaveScreen(QStringLiteral("trend-readout"));
  const QImage shown = trace().image();
  for (int x : {20, 520, 0, 600}) {
    Move(x);
    EXPECT_EQ(trace().image(), shown) << x;
  }
  Move(519);
  EXPECT_TRUE(TextAt(trace(), 555, 35, QStringLiteral("72")));
  EXPECT_TRUE(TextAt(trace(), 115, 5, QStringLiteral("Иванов")));
}

// On a 1920-pixel screen the graph fills the larger area alike, and the
// pointer's position maps back to the design's for the read-out.
class TrendsAt1920 : public Trends {
 protected:
  void SetUp() override {
    screenWidth = 1920;
    Trends::SetUp();
  }
};

TEST_F(TrendsAt1920, GraphAndReadOutFollowTheScale) {
  PutRecords(5, 3);
  Graf();
  Click(form->ListBox2, 3);
  DoubleClick(form->ListBox2, 4);
  ASSERT_EQ(form->session().TrendViewShown(), 1);
  const DesignLayout& m = trace().layout();
  ASSERT_DOUBLE_EQ(m.scale(), 2.4);
  EXPECT_TRUE(Point(m.px(20), m.px(128), colours::Red));
  EXPECT_TRUE(Point(m.px(520), m.px(128), colours::Red));
  EXPECT_TRUE(TextAt(trace(), 540, 20, QStringLiteral("1.ПУЛЬС")));
  Move(m.px(21), m.px(150));
  EXPECT_TRUE(TextAt(trace(), 555, 35, QStringLiteral("72")));
  EXPECT_TRUE(TextAt(trace(), 115, 5, QStringLiteral("Петров")));
  SaveScreen(QStringLiteral("trend-readout-1920"));
  Move(m.px(519), m.px(150));
  EXPECT_TRUE(TextAt(trace(), 115, 5, QStringLiteral("Иванов")));
}

// A record whose stored results are damaged is left out of every curve:
// no stroke to the bottom of the area, and its read-out shows "-".
TEST_F(Trends, DamagedRecordIsLeftOutAndReadsAsADash) {
  for (double damaged : {std::nan(""), -100000.0, 1e308}) {
    SCOPED_TRACE(damaged);
    Put(archive() / "p000.pul", *TrendRecord("Иванов", 60, 0.05, 0.12, 0.04));
    Put(archive() / "p001.pul", *TrendRecord("Сидоров", damaged, 0.05, 0.12, 0.04));
    Put(archive() / "p002.pul", *TrendRecord("Иванов", 66, 0.05, 0.12, 0.04));
    Graf();
    Click(form->ListBox2, 0);
    DoubleClick(form->ListBox2, 2);
    ASSERT_EQ(form->session().TrendViewShown(), 1);
    EXPECT_TRUE(Point(20, 140, colours::Red));
    EXPECT_TRUE(Point(520, 134, colours::Red));
    EXPECT_TRUE(Point(270, 137, colours::Red));  // the curve joins its neighbours
    for (int y = 0; y < 200; ++y) {
      if (y < 135 || y > 139) EXPECT_NE(trace().pixel(270, y), colours::Red) << y;
    }
    Move(270);
    EXPECT_TRUE(TextAt(trace(), 115, 5, QStringLiteral("Сидоров")));
    EXPECT_TRUE(TextAt(trace(), 555, 35, QStringLiteral("-")));
    EXPECT_TRUE(TextAt(trace(), 555, 65, QStringLiteral("-")));
  }
  SaveScreen(QStringLiteral("trend-damaged-record"));
}

TEST_F(Trends, FirstEntryRightAfterGrafDrawsNothing) {
  PutRecords(3);
  Graf();
  DoubleClick(form->ListBox2, 0);
  EXPECT_EQ(form->session().TrendViewShown(), 0);
  EXPECT_TRUE(TraceIsBlank());
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(Trends, RangePastPosition300IsRefused) {
  PutRecords(303);
  Graf();
  DoubleClick(form->ListBox2, 301);
  EXPECT_EQ(form->session().TrendViewShown(), 0);
  EXPECT_TRUE(TraceIsBlank());
  EXPECT_EQ(messages.size(), 1);
  Graf();
  DoubleClick(form->ListBox2, 300);
  EXPECT_EQ(form->session().TrendViewShown(), 1);
}

TEST_F(Trends, RepaintDrawsTheGraphAgainAndTheMeasurementInMemoryStays) {
  PutRecords(4, 1);
  form->CurrentRecord->Samples[0] = 12345;
  const std::string current = Bytes(*form->CurrentRecord);
  Graf();
  DoubleClick(form->ListBox2, 2);
  ASSERT_EQ(form->session().TrendViewShown(), 1);
  const QImage drawn = trace().image();
  form->TreeView1->clear();
  form->FormPaint();
  EXPECT_EQ(trace().image(), drawn);
  EXPECT_EQ(Bytes(*form->CurrentRecord), current);
}

TEST_F(Trends, RecordGoneSinceTheListingStopsAfterTheGrid) {
  PutRecords(4);
  Graf();
  fs::remove(archive() / "p002.pul");
  DoubleClick(form->ListBox2, 3);
  ASSERT_EQ(messages.size(), 1);
  EXPECT_TRUE(messages[0].contains(QStringLiteral("p002.pul")));
  EXPECT_EQ(form->session().TrendViewShown(), 0);  // not replayed: the failure would repeat on each repaint
  EXPECT_FALSE(Point(20, 137, colours::Red));
}

TEST_F(Trends, ALongRangeStaysInsideTheGraph) {
  ExpectALongRangeInsideTheGraph(QStringLiteral("trend-300"));
}

TEST_F(TrendsAt1920, ALongRangeStaysInsideTheGraph) {
  ExpectALongRangeInsideTheGraph(QStringLiteral("trend-300-1920"));
}

}  // namespace
}  // namespace sfigmo::test
