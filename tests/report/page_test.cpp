// The report page's texts and where they land, recorded on devices of 600
// and 96 dots per inch.

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <cmath>
#include <limits>
#include <vector>

#include "analysis/result_validity.h"
#include "analysis/rhythm_reading.h"
#include "analysis/screens/signal_warning_lines.h"
#include "report/report_model.h"
#include "report/screens/report_page.h"
#include "report_test_support.h"

namespace sfigmo {
namespace {

using test::MakeRecord;

// A page-sized device that keeps every text drawn on it: where, in which
// font and colour.
struct DrawnText {
  QString Text;
  QPointF Baseline;
  QFont Font;
  QColor Colour;
  qreal Left = 0, Top = 0, Right = 0;
};

class RecordingEngine : public QPaintEngine {
 public:
  explicit RecordingEngine(std::vector<DrawnText>& texts) : texts_(texts) {}
  bool begin(QPaintDevice*) override { return true; }
  bool end() override { return true; }
  void updateState(const QPaintEngineState&) override {}
  void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
  Type type() const override { return QPaintEngine::User; }
  void drawTextItem(const QPointF& p, const QTextItem& item) override {
    DrawnText t;
    t.Text = item.text();
    t.Baseline = p;
    t.Font = item.font();
    t.Colour = painter()->pen().color();
    const QFontMetricsF fm(t.Font, paintDevice());
    t.Left = p.x();
    t.Top = p.y() - fm.ascent();
    t.Right = p.x() + fm.horizontalAdvance(t.Text);
    texts_.push_back(t);
  }

 private:
  std::vector<DrawnText>& texts_;
};

class RecordingDevice : public QPaintDevice {
 public:
  explicit RecordingDevice(int dpi) : dpi_(dpi), engine_(texts) {}
  ~RecordingDevice() override = default;
  QPaintEngine* paintEngine() const override { return &engine_; }
  std::vector<DrawnText> texts;

  const DrawnText* find(const QString& text) const {
    for (const DrawnText& t : texts)
      if (t.Text == text) return &t;
    return nullptr;
  }

 protected:
  int metric(PaintDeviceMetric m) const override {
    switch (m) {
      case PdmWidth:
        return MmToDevice(210, dpi_);
      case PdmHeight:
        return MmToDevice(297, dpi_);
      case PdmWidthMM:
        return 210;
      case PdmHeightMM:
        return 297;
      case PdmDpiX:
      case PdmDpiY:
      case PdmPhysicalDpiX:
      case PdmPhysicalDpiY:
        return dpi_;
      case PdmDepth:
        return 32;
      case PdmNumColors:
        return INT_MAX;
      case PdmDevicePixelRatio:
        return 1;
      case PdmDevicePixelRatioScaled:
        return static_cast<int>(devicePixelRatioFScale());
      default:
        return 0;
    }
  }

 private:
  int dpi_;
  mutable RecordingEngine engine_;
};

std::vector<DrawnText> DrawOn(RecordingDevice& device, const PulsogramRecord& record,
                              const ReportPageOptions& options = {}) {
  QPainter painter(&device);
  ReportPageOptions o = options;
  o.DecimalSeparator = ',';
  DrawReportPage(painter, record, false, o);
  EXPECT_FALSE(painter.isActive());
  return device.texts;
}

QStringList Conclusion(const PulsogramRecord& record, QStringList extra = {}) {
  ReportPageOptions o;
  o.DecimalSeparator = ',';
  o.ExtraConclusionLines = std::move(extra);
  return BuildReportPage(record, o).ConclusionLines;
}

TEST(MmToDevice, RoundsToTheNearestPixel) {
  struct Case {
    int mm, dpi, expected;
  } cases[] = {{190, 600, 4488}, {190, 96, 718}, {0, 600, 0},        {117, 600, 2764},
               {25, 254, 250},   {1, 96, 4},     {-190, 600, -4488}, {INT_MAX, 1200, INT_MAX}};
  for (const Case& c : cases)
    EXPECT_EQ(MmToDevice(c.mm, c.dpi), c.expected) << c.mm << " mm " << c.dpi;
}

TEST(ReportVerdicts, PulseRateBands) {
  struct Case {
    double puls;
    const char* text;
  } cases[] = {{70, "Частота пульса в норме"}, {80, "Частота пульса в норме"},
               {55, "Пульс понижен"},          {54.9, "Низкий пульс"},
               {90, "Пульс повышен"},          {90.1, "Высокий пульс"}};
  for (const Case& c : cases) {
    auto r = MakeRecord();
    r->Results.PULS = c.puls;
    EXPECT_EQ(Conclusion(*r).value(0), QStringLiteral("1. ") + QString::fromUtf8(c.text)) << c.puls;
  }
}

TEST(ReportVerdicts, HardPulseComesFirstAndRhythmFollowsVrki) {
  auto r = MakeRecord();
  r->Results.VRKI = 0.03;
  QStringList lines = Conclusion(*r);
  ASSERT_EQ(lines.size(), 5);
  EXPECT_EQ(lines[0], QStringLiteral("1. Пульс жёсткий"));
  EXPECT_EQ(lines[3], QStringLiteral("4. Синусовый ритм не нарушен"));

  r->Results.VRKI = 0.05;
  lines = Conclusion(*r);
  ASSERT_EQ(lines.size(), 4);
  EXPECT_EQ(lines[0], QStringLiteral("1. Частота пульса в норме"));

  r->Results.VRKI = 0.2;
  EXPECT_EQ(Conclusion(*r).value(2), QStringLiteral("3. Нарушен синусовый ритм"));
}

TEST(ReportVerdicts, InterruptionsAndLoad) {
  struct Case {
    double kolp, kole, descent, nagr;
    const char* interruptions;
    const char* load;
  } cases[] = {
      {0, 0, 0.12, 0.10, "Перебои не обнаружены", "Нагрузка миокарда в норме"},
      {1, 0, 0.13, 0.10, "Обнаружены перебои", "Сердечная мышца ослаблена"},
      {0, 2, 0.13, 0.05, "Обнаружены перебои", "Сердечная мышца ослаблена"},
      {0, 0, 0.12, 0.13, "Перебои не обнаружены", "Сердечная мышца ослаблена"},
  };
  for (const Case& c : cases) {
    auto r = MakeRecord();
    r->Results.KOLP = c.kolp;
    r->Results.KOLE = c.kole;
    r->Results.DescentTime = c.descent;
    r->Results.NAGR = c.nagr;
    const QStringList lines = Conclusion(*r);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[1], QStringLiteral("2. ") + QString::fromUtf8(c.interruptions));
    EXPECT_EQ(lines[3], QStringLiteral("4. ") + QString::fromUtf8(c.load));
  }
}

TEST(ReportVerdicts, ExtraLinesAreNumberedOnAfterTheVerdicts) {
  auto r = MakeRecord();
  r->Results.VRKI = 0.03;
  const QStringList lines =
      Conclusion(*r, {QStringLiteral("Запись сомнительна"), QStringLiteral("  ")});
  ASSERT_EQ(lines.size(), 6);
  EXPECT_EQ(lines[5], QStringLiteral("6. Запись сомнительна"));
}

TEST(ReportText, PatientLineAgeWords) {
  struct Case {
    const char* age;
    const char* line;
  } cases[] = {{"", "Иванов"},
               {"67", "Иванов, 67 лет"},
               {"21", "Иванов, 21 год"},
               {"43", "Иванов, 43 года"},
               {"11", "Иванов, 11 год"},
               {"12", "Иванов, 12 года"},
               {"5 мес", "Иванов, 5 мес лет"}};
  for (const Case& c : cases) {
    test::RecordText text;
    text.Age = c.age;
    EXPECT_EQ(BuildReportPage(*MakeRecord(text)).PatientLine, QString::fromUtf8(c.line)) << c.age;
  }
}

TEST(ReportText, HeaderLineFromTheStoredDateAndTime) {
  EXPECT_EQ(BuildReportPage(*MakeRecord()).HeaderLine, QStringLiteral("25.12.08, 10:15:30"));
  // A damaged header gives what its characters allow.
  EXPECT_EQ(ReportHeaderLine(QStringLiteral("08_1"), QStringLiteral("10")),
            QStringLiteral(".1.08, 10"));
  EXPECT_EQ(ReportHeaderLine(QString(), QString()), QStringLiteral(".., "));
}

TEST(ReportText, ValuesWithTheirSignificantDigits) {
  struct Case {
    double puls, vrki, kolp, meanInterval;
    const char* pulsText;
    const char* vrkiText;
    const char* kolpText;
    const char* tosoText;
  } cases[] = {
      {72.4, 0.0523, 0, 0.8, "72", "0,0523", "0", "19"},
      {100, 0.2, 3, 0.8, "1E2", "0,2", "3", "19"},
      {105, 0.06, 0, 0, "1,1E2", "0,06", "0", "-"},
      // damaged stored values print as "-", never as a number
      {std::nan(""), std::numeric_limits<double>::infinity(), 1e300, std::nan(""), "-", "-", "-",
       "-"},
      {2730, -2.47e-323, 0.5, 60.0 / 2730, "-", "-", "-", "6,8E2"},
  };
  for (const Case& c : cases) {
    auto r = MakeRecord();
    r->Results.PULS = c.puls;
    r->Results.VRKI = c.vrki;
    r->Results.KOLP = c.kolp;
    r->Results.MeanInterval = c.meanInterval;
    ReportPageOptions o;
    o.DecimalSeparator = ',';
    const ReportPageText page = BuildReportPage(*r, o);
    EXPECT_EQ(page.Rows[0].Value, QString::fromUtf8(c.pulsText));
    EXPECT_EQ(page.Rows[1].Value, QString::fromUtf8(c.vrkiText));
    EXPECT_EQ(page.Rows[4].Value, QString::fromUtf8(c.tosoText));
    EXPECT_EQ(page.Rows[6].Value, QString::fromUtf8(c.kolpText));
  }
}

TEST(ReportPage, DamagedResultsGiveOneLineSayingSoAndStillDraw) {
  auto r = MakeRecord();
  r->Results.PULS = std::nan("");
  r->Results.KOVR = -std::numeric_limits<double>::infinity();
  EXPECT_EQ(Conclusion(*r),
            QStringList{QStringLiteral("1. ") + QString::fromUtf8(kDamagedResultsText)});
  RecordingDevice device(96);
  const auto texts = DrawOn(device, *r);
  EXPECT_EQ(device.find(QStringLiteral("-INF")), nullptr);
  EXPECT_EQ(device.find(QStringLiteral("NAN")), nullptr);
}

TEST(ReportPage, TitleRightEdgeAt190Millimetres) {
  for (auto [dpi, edge] : {std::pair{600, 4488}, std::pair{96, 718}}) {
    RecordingDevice device(dpi);
    DrawOn(device, *MakeRecord());
    const DrawnText* title = device.find(QString::fromUtf8(kReportTitle));
    ASSERT_NE(title, nullptr);
    EXPECT_NEAR(title->Right, edge, 0.01) << dpi;
    EXPECT_NEAR(title->Top, MmToDevice(20, dpi), 0.01);
    const DrawnText* header = device.find(QStringLiteral("25.12.08, 10:15:30"));
    ASSERT_NE(header, nullptr);
    EXPECT_NEAR(header->Right, edge, 0.01);
    EXPECT_NEAR(header->Top, MmToDevice(27, dpi), 0.01);
  }
}

TEST(ReportPage, LayoutFontsAndColoursAt600Dpi) {
  RecordingDevice device(600);
  const auto texts = DrawOn(device, *MakeRecord());
  const auto mm = [](int v) { return MmToDevice(v, 600); };
  const QColor grey(128, 128, 128);

  struct Left {
    const char* text;
    int left, top, points;
    bool bold;
  } lefts[] = {{"Иванов, 67 лет", 20, 60, 24, true},
               {"Результаты анализа", 20, 100, 18, true},
               {"Заключение", 20, 185, 18, true},
               {"Пульс", 20, 117, 12, false},
               {"Количество экстрасистол", 20, 166, 12, false},
               {"1. Частота пульса в норме", 25, 197, 12, false},
               {"4. Нагрузка миокарда в норме", 25, 218, 12, false}};
  for (const Left& l : lefts) {
    const DrawnText* t = device.find(QString::fromUtf8(l.text));
    ASSERT_NE(t, nullptr) << l.text;
    EXPECT_NEAR(t->Left, mm(l.left), 0.01) << l.text;
    EXPECT_NEAR(t->Top, mm(l.top), 0.01) << l.text;
    EXPECT_EQ(t->Font.pointSize(), l.points) << l.text;
    EXPECT_EQ(t->Font.bold(), l.bold) << l.text;
    EXPECT_EQ(t->Font.family(), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(t->Colour, QColor(Qt::black)) << l.text;
  }

  const DrawnText* norma = device.find(QStringLiteral("норма"));
  ASSERT_NE(norma, nullptr);
  EXPECT_NEAR(norma->Right, mm(155), 0.01);
  EXPECT_NEAR(norma->Top, mm(110), 0.01);
  EXPECT_EQ(norma->Colour, grey);

  // Row 1: value bold, right edge at 110 mm; unit one space after 110 mm;
  // norm grey, right edge at 155 mm.
  const DrawnText* value = device.find(QStringLiteral("72"));
  ASSERT_NE(value, nullptr);
  EXPECT_TRUE(value->Font.bold());
  EXPECT_NEAR(value->Right, mm(110), 0.01);
  const DrawnText* unit = device.find(QStringLiteral("уд/мин"));
  ASSERT_NE(unit, nullptr);
  QFont regular = unit->Font;
  EXPECT_NEAR(unit->Left, mm(110) + QFontMetricsF(regular, &device).horizontalAdvance(u' '), 0.01);
  const DrawnText* norm = device.find(QStringLiteral("55-80"));
  ASSERT_NE(norm, nullptr);
  EXPECT_NEAR(norm->Right, mm(155), 0.01);
  EXPECT_NEAR(norm->Top, mm(117), 0.01);
  EXPECT_EQ(norm->Colour, grey);
  // Black again after each norm: the next row's name.
  EXPECT_EQ(device.find(QStringLiteral("Вариационных размах"))->Colour, QColor(Qt::black));
  // Rows without a unit draw none: 8 rows x 4 texts, two units empty.
  const int rowTexts = std::count_if(texts.begin(), texts.end(), [&](const DrawnText& t) {
    return t.Top >= mm(117) - 0.5 && t.Top <= mm(166) + 0.5;
  });
  EXPECT_EQ(rowTexts, 30);
}

TEST(ReportPage, DrawnInTheLayoutsOrder) {
  RecordingDevice device(96);
  const auto texts = DrawOn(device, *MakeRecord());
  ASSERT_GE(texts.size(), 6u);
  EXPECT_EQ(texts[0].Text, QString::fromUtf8(kReportTitle));
  EXPECT_EQ(texts[1].Text, QStringLiteral("25.12.08, 10:15:30"));
  EXPECT_EQ(texts[2].Text, QStringLiteral("Иванов, 67 лет"));
  EXPECT_EQ(texts[3].Text, QStringLiteral("Результаты анализа"));
  EXPECT_EQ(texts[4].Text, QStringLiteral("Заключение"));
  EXPECT_EQ(texts[5].Text, QStringLiteral("норма"));
  EXPECT_EQ(texts.back().Text, QStringLiteral("4. Нагрузка миокарда в норме"));
}

TEST(ReportPage, SurfaceOwnedByTheCallerStaysActive) {
  RecordingDevice device(96);
  QPainter painter(&device);
  DrawReportPage(painter, *MakeRecord(), true);
  EXPECT_TRUE(painter.isActive());
}

// The page as a user sees it at screen resolution, saved for a look.
TEST(ReportPage, RendersOnAnImage) {
  QImage image(MmToDevice(210, 96), MmToDevice(297, 96), QImage::Format_RGB32);
  image.setDotsPerMeterX(3780);
  image.setDotsPerMeterY(3780);
  image.fill(Qt::white);
  auto r = MakeRecord();
  r->Results.VRKI = 0.03;
  QPainter painter(&image);
  DrawReportPage(painter, *r, false);
  QDir().mkpath(QStringLiteral(SFIGMO_SCREENSHOT_DIR));
  image.save(QStringLiteral(SFIGMO_SCREENSHOT_DIR "/report_page_96dpi.png"));
  // Ink just left of the title's right edge, none right of it.
  auto darkIn = [&](int x0, int x1, int y0, int y1) {
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x)
        if (qGray(image.pixel(x, y)) < 128) return true;
    return false;
  };
  EXPECT_TRUE(darkIn(700, 718, 76, 96));
  EXPECT_FALSE(darkIn(720, image.width(), 76, 96));
}

// A good recording of beats at irregularly irregular times: the report's
// conclusion ends with the irregular rhythm line.
TEST(ReportVerdicts, IrregularRhythmIsTheLastConclusionLine) {
  auto r = MakeRecord();
  r->SamplePeriod = 0.02;
  r->SampleCount = 620;
  for (int k = 1; k <= 620; ++k) r->Samples[k - 1] = k * 7 % 3 - 1;  // a live baseline
  int beat = 20;
  for (const int gap : {42, 53, 46, 42, 52, 44, 54, 42, 50, 45, 42, 53, 0}) {
    const int swing[] = {-20, -45, -60, -45, -20, 10, 20, 15, 8, 4};
    std::copy(std::begin(swing), std::end(swing), r->Samples + beat - 3);
    beat += gap;
  }
  const QStringList plain = Conclusion(*r);
  const QStringList warned = Conclusion(*r, SignalWarningLines(*r));
  ASSERT_EQ(warned.size(), plain.size() + 1);
  EXPECT_EQ(warned.last(),
            QString::number(plain.size() + 1) + ". " + QString::fromUtf8(IrregularRhythmText()));
}

// A stored recording whose marking counted every dicrotic swing as a beat:
// the report's conclusion ends with the signal warning; a good one, or one
// without usable samples, gets no extra line.
TEST(ReportVerdicts, SignalWarningIsTheLastConclusionLine) {
  auto r = MakeRecord();
  r->SamplePeriod = 0.02;
  r->SampleCount = 316;
  for (int k = 1; k <= 316; ++k) r->Samples[k - 1] = k * 7 % 3 - 1;  // a live baseline
  for (int beat = 20; beat + 20 <= 316; beat += 50) {
    const int swing[] = {-20, -45, -60, -45, -20, 10, 20, 15, 8, 4};
    std::copy(std::begin(swing), std::end(swing), r->Samples + beat - 3);
    const int notch[] = {-15, -35, -45, -35, -15};
    std::copy(std::begin(notch), std::end(notch), r->Samples + beat + 13);
  }
  const QStringList plain = Conclusion(*r);
  const QStringList warned = Conclusion(*r, SignalWarningLines(*r));
  ASSERT_EQ(warned.size(), plain.size() + 1);
  EXPECT_EQ(warned.mid(0, plain.size()), plain);
  EXPECT_EQ(warned.last(), QString::number(plain.size() + 1) +
                               QStringLiteral(". СИГНАЛ НЕУСТОЙЧИВ - ПОВТОРИТЕ ИЗМЕРЕНИЕ (отмечен "
                                              "дикротический зубец)"));

  QImage image(MmToDevice(210, 96), MmToDevice(297, 96), QImage::Format_RGB32);
  image.setDotsPerMeterX(3780);
  image.setDotsPerMeterY(3780);
  image.fill(Qt::white);
  QPainter painter(&image);
  ReportPageOptions options;
  options.ExtraConclusionLines = SignalWarningLines(*r);
  DrawReportPage(painter, *r, false, options);
  QDir().mkpath(QStringLiteral(SFIGMO_SCREENSHOT_DIR));
  image.save(QStringLiteral(SFIGMO_SCREENSHOT_DIR "/report_page_signal_warning.png"));

  for (int beat = 20; beat + 20 <= 316; beat += 50) {
    const int shallow[] = {-3, -6, -9, -6, -3};  // an ordinary dicrotic notch
    std::copy(std::begin(shallow), std::end(shallow), r->Samples + beat + 13);
  }
  EXPECT_TRUE(SignalWarningLines(*r).isEmpty());
  r->SampleCount = 0;
  EXPECT_TRUE(SignalWarningLines(*r).isEmpty());
}

}  // namespace
}  // namespace sfigmo
