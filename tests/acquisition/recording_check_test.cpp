// The recording check's frame drawing and rejection screen on an offscreen
// canvas.

#include "analysis/screens/check_screen.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "draw/canvas.h"
#include "record_builder.h"

namespace sfigmo {
namespace {

constexpr int kW = 649;

// A regular pulse: a swing down to -60 every 60 samples, from sample 50 on.
std::unique_ptr<PulsogramRecord> PulseRecord(int count) {
  return test::RecordBuilder()
      .Garbage(0x7F)  // past the count
      .Samples(count, 0.02,
               [](int i) {
                 const int phase = (i + 1 - 50 + 600) % 60;
                 return phase == 0 ? -60 : (phase == 1 ? -30 : (phase < 8 ? 10 : 0));
               })
      .Build();
}

bool ColumnHas(const Canvas& c, int x, int y0, int y1, QColor colour) {
  for (int y = y0; y <= y1; ++y)
    if (c.pixel(x, y) != colour) return false;
  return true;
}

int CountNot(const Canvas& c, QColor bg, int x0, int x1) {
  int n = 0;
  for (int x = x0; x < x1; ++x)
    for (int y = 0; y < c.height(); ++y) n += c.pixel(x, y) != bg;
  return n;
}

TEST(FrameWidthTest, OneWiderThanARunStores) {
  EXPECT_EQ(FrameWidth(649), 317);
  EXPECT_EQ(FrameWidth(641), 313);
  EXPECT_EQ(FrameWidth(1300), 642);  // 642.5 -> even
}

TEST(MarkAndAcceptTest, RegularPulseAcceptedFlatRejected) {
  auto good = PulseRecord(316);
  MarkTable marks;
  ASSERT_TRUE(MarkAndAccept(*good, marks));
  ASSERT_GE(marks.count(), 3);
  EXPECT_EQ(marks.Marks[0].Index, 50);

  auto flat = PulseRecord(316);
  for (int k = 0; k < 316; ++k) flat->Samples[k] = 0;
  EXPECT_FALSE(MarkAndAccept(*flat, marks));
}

TEST(MarkAndAcceptTest, DamagedCountLooksOnlyAtTheArray) {
  auto r = PulseRecord(316);
  r->SampleCount = 65535;  // more than the record holds
  MarkTable marks;
  MarkAndAccept(*r, marks);  // must stay inside Samples (ASan)
  for (const BeatMark& m : marks.Marks) EXPECT_LE(m.Index, kMaxSamples);
}

class FrameTest : public ::testing::Test {
 protected:
  Canvas canvas{625, 217, colours::Silver};
  void SetUp() override {
    canvas.setPenColor(colours::Blue);
    canvas.setBrushColor(colours::Silver);
  }
};

TEST_F(FrameTest, MarksAreNumberedLinesAtTheirSamples) {
  auto r = PulseRecord(316);
  MarkTable marks;
  ASSERT_TRUE(MarkAndAccept(*r, marks));
  int cursor = 1;
  DrawFrame(canvas, *r, marks, kW, 1, cursor);
  EXPECT_EQ(cursor, marks.count() + 1);  // every mark of the recording lies in frame 1
  // Mark at sample 50: a vertical line at x = 70 from y = 10 to 150.
  EXPECT_TRUE(ColumnHas(canvas, 70, 10, 149, colours::Blue));
  EXPECT_NE(canvas.pixel(70, 9), colours::Blue);
  // Its number below-right of the line's foot (black text from (70, 150);
  // antialiased, so dark rather than exactly black).
  EXPECT_GT(CountNot(canvas, colours::Silver, 71, 80), 0);
  bool textBelow = false;
  for (int y = 151; y < 170 && !textBelow; ++y)
    for (int x = 71; x < 80; ++x) textBelow |= canvas.pixel(x, y).value() < 96;
  EXPECT_TRUE(textBelow);
  // The sample of -60 at index 50 is drawn at y = 40: the curve reaches it.
  EXPECT_EQ(canvas.pixel(70, 40), colours::Blue);
}

TEST_F(FrameTest, NothingDrawnPastTheSampleCount) {
  auto r = PulseRecord(316);
  MarkTable marks;
  MarkAndAccept(*r, marks);
  int cursor = 1;
  DrawFrame(canvas, *r, marks, kW, 1, cursor);
  // Sample 316 sits at x = 2 * 316 - 30 = 602; sample 317 (garbage) would be at 604.
  EXPECT_EQ(canvas.pixel(601, 100), colours::Blue);
  EXPECT_EQ(CountNot(canvas, colours::Silver, 603, 625), 0);
}

TEST_F(FrameTest, DrawingTwiceNumbersFromOneAgain) {
  auto r = PulseRecord(316);
  MarkTable marks;
  MarkAndAccept(*r, marks);
  int cursor = 1;
  DrawFrame(canvas, *r, marks, kW, 1, cursor);
  const QImage first = canvas.image().copy();
  canvas.clear(colours::Silver);
  cursor = 1;
  DrawFrame(canvas, *r, marks, kW, 1, cursor);
  EXPECT_EQ(canvas.image(), first);
}

TEST_F(FrameTest, CursorPastTheTableDrawsNoMarks) {
  auto r = PulseRecord(316);
  MarkTable marks;
  MarkAndAccept(*r, marks);
  int cursor = marks.count() + 5;
  DrawFrame(canvas, *r, marks, kW, 1, cursor);
  EXPECT_EQ(cursor, marks.count() + 5);
  EXPECT_FALSE(ColumnHas(canvas, 70, 10, 30, colours::Blue));
}

TEST_F(FrameTest, RejectionShowsAllEightLines) {
  canvas.setFontColor(colours::Black);
  DrawRejection(canvas);
  int count = 0;
  const AdviceLine* lines = RejectionAdvice(&count);
  ASSERT_EQ(count, 8);
  EXPECT_STREQ(lines[6].text, "РЕКОМЕДАЦИИ:");
  for (int i = 0; i < count; ++i) {
    int ink = 0;
    for (int x = lines[i].x; x < lines[i].x + 60; ++x)
      for (int y = lines[i].y; y < lines[i].y + 14; ++y) ink += canvas.pixel(x, y).value() < 128;
    EXPECT_GT(ink, 20) << lines[i].text;
  }
  EXPECT_EQ(canvas.font().pointSize(), 10);
}

// Below the frame of a doubtful recording: the red warning and its reason,
// on the trace area's background, leaving the font as it was; nothing for a
// good recording.
TEST_F(FrameTest, SignalWarningBelowTheFrame) {
  auto r = PulseRecord(316);
  MarkTable marks;
  ASSERT_TRUE(MarkAndAccept(*r, marks));
  const SignalQuality quality;  // good
  int cursor = 1;
  DrawFrame(canvas, *r, marks, kW, 1, cursor);
  const QImage frame = canvas.image();
  DrawSignalWarning(canvas, quality);
  EXPECT_TRUE(canvas.image() == frame);

  SignalQuality doubtful;
  doubtful.doubtful = true;
  doubtful.reasons = {QualityReason::Split};
  canvas.setFontSize(9);
  DrawSignalWarning(canvas, doubtful);
  EXPECT_TRUE(canvas.image().copy(0, 0, 625, kSignalWarningY) ==
              frame.copy(0, 0, 625, kSignalWarningY));
  int red = 0;
  for (int x = 10; x < 300; ++x)
    for (int y = kSignalWarningY; y < kSignalWarningY + 14; ++y) {
      const QColor p = canvas.pixel(x, y);
      red += p.red() > 200 && p.green() < 80 && p.blue() < 80;
    }
  EXPECT_GT(red, 100);
  EXPECT_EQ(canvas.font().pointSize(), 9);
  EXPECT_FALSE(canvas.font().bold());
  EXPECT_EQ(canvas.fontColor(), colours::Black);
}

// A rejected marking is not judged.
TEST(SignalQualityOfARecord, RejectedRecordingIsNotJudged) {
  auto flat = PulseRecord(316);
  for (int k = 0; k < 316; ++k) flat->Samples[k] = 0;
  MarkTable marks;
  EXPECT_FALSE(MarkAndAccept(*flat, marks));
  const SignalQuality q = AssessRecordQuality(*flat, marks, flat->SamplePeriod);
  EXPECT_FALSE(q.doubtful);
  EXPECT_TRUE(std::isnan(q.independentPULS));
}

}  // namespace
}  // namespace sfigmo
