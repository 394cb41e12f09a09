#include "analysis/screens/check_screen.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "draw/canvas.h"

namespace sfigmo {

namespace {

constexpr AdviceLine kAdvice[] = {
    {70, 55, "АНАЛИЗ  ПУЛЬСОГРАММЫ  МОЖЕТ  ПРИВЕСТИ  К  НЕПРАВИЛЬНЫМ  ВЫВОДАМ"},
    {150, 75, "ВОЗМОЖНЫЕ ПРИЧИНЫ:"},
    {110, 95, "- плохой контакт пальца и датчика"},
    {110, 115, "- движения руки во время записи"},
    {110, 135, "- холодные руки"},
    {110, 155, "- технический сбой"},
    {150, 175, "РЕКОМЕДАЦИИ:"},
    {110, 195, "- устранить возможные причины и повторить запись"},
};

constexpr int kStep = 2;
constexpr int kFirstX = 40;
constexpr int kOffset = -30;

// One polyline along the frame: y(k) for k = first..lastDrawn.
template <typename YOf>
void Sweep(Canvas& c, int first, int lastDrawn, YOf yOf) {
  int x = 0;
  for (int k = first; k <= lastDrawn; ++k) {
    x += kStep;
    const int y = yOf(k);
    if (x == kFirstX) c.moveTo(x + kOffset, y);
    if (x > kFirstX) c.lineTo(x + kOffset, y);
  }
}

}  // namespace

void DrawFrame(Canvas& canvas, const PulsogramRecord& record, const MarkTable& marks,
               int outerWidth, int frameNumber, int& markCursor) {
  // One sample per two pixels of the window's own width: x stays in pixels.
  const DeviceXScope frameX(canvas);
  const int h = std::max(FrameWidth(outerWidth), 0);
  const int last = h * frameNumber;
  const int first = last + 1 - h;
  // The frame is one sample wider than a run stores: what lies past the
  // recording is not drawn.
  const int lastDrawn = std::min(last, UsableSampleCount(record));

  Sweep(canvas, first, lastDrawn, [](int) { return kTraceBaseline; });
  Sweep(canvas, first, lastDrawn, [&](int k) {
    const std::int64_t y = std::int64_t{record.Samples[k - 1]} + kTraceBaseline;
    return static_cast<int>(
        std::clamp<std::int64_t>(y, -100000, 100000));  // keep Qt's coordinates sane
  });

  const int m = marks.count();
  for (int k = first; k <= lastDrawn; ++k) {
    if (markCursor < 1 || markCursor > m) break;
    if (marks.Marks[markCursor - 1].Index != k) continue;
    markCursor += 1;
    const int p = (k - first + 1) * kStep + kOffset;
    canvas.textOut(p, kMarkBottom, QString::number(markCursor - 1));
    canvas.moveTo(p, kMarkTop);
    canvas.lineTo(p, kMarkBottom);
  }
}

void DrawCheckFrame(Canvas& canvas, const QColor& background, const PulsogramRecord& record,
                    const MarkTable& marks, int outerWidth, int frameNumber, int& markCursor) {
  canvas.setPenColor(colours::Blue);
  canvas.setPenWidth(1);
  canvas.setFontSize(8);
  canvas.setFontBold(false);
  canvas.setFontColor(colours::Black);
  canvas.setBrushColor(background);
  DrawFrame(canvas, record, marks, outerWidth, frameNumber, markCursor);
}

const AdviceLine* RejectionAdvice(int* count) {
  *count = static_cast<int>(std::size(kAdvice));
  return kAdvice;
}

void DrawRejection(Canvas& canvas) {
  canvas.setFontSize(10);
  canvas.setFontBold(false);
  for (const AdviceLine& line : kAdvice)
    canvas.textOut(line.x, line.y, QString::fromUtf8(line.text));
}

void DrawRejectionReason(Canvas& canvas, const QString& reason) {
  if (reason.isEmpty()) return;
  const QColor colour = canvas.fontColor();
  const bool bold = canvas.font().bold();
  canvas.setFontColor(colours::Red);
  canvas.setFontBold(true);
  canvas.textOut(kAdvice[0].x, kRejectionReasonY, reason);
  canvas.setFontBold(bold);
  canvas.setFontColor(colour);
}

void DrawCutShortNotice(Canvas& canvas, int y, const QString& text) {
  const QFont font = canvas.font();
  const QColor colour = canvas.fontColor();
  canvas.setFontSize(8);
  canvas.setFontBold(true);
  canvas.setFontColor(colours::Red);
  canvas.textOut(10, y, text);
  canvas.setFontFamily(font.family());
  canvas.setFontSize(font.pointSize());
  canvas.setFontBold(font.bold());
  canvas.setFontColor(colour);
}

void DrawSignalWarning(Canvas& canvas, const SignalQuality& quality) {
  if (!quality.doubtful) return;
  const QFont font = canvas.font();
  const QColor colour = canvas.fontColor();
  canvas.setFontSize(8);
  canvas.setFontBold(true);
  canvas.setFontColor(colours::Red);
  const QString warning = QString::fromUtf8(SignalWarningText());
  canvas.textOut(10, kSignalWarningY, warning);
  const int reasonX = 10 + canvas.textWidth(warning) + 12;
  canvas.setFontBold(false);
  canvas.textOut(reasonX, kSignalWarningY,
                 QStringLiteral("(") + QString::fromStdString(QualityReasonText(quality)) +
                     QStringLiteral(")"));
  canvas.setFontFamily(font.family());
  canvas.setFontSize(font.pointSize());
  canvas.setFontBold(font.bold());
  canvas.setFontColor(colour);
}

QString CutShortText(const PulsogramRecord& record, QChar decimalSeparator) {
  const double seconds = UsableSampleCount(record) * record.SamplePeriod;
  QString shown = QString::number(std::isfinite(seconds) ? seconds : 0.0, 'f', 1);
  shown.replace(QLatin1Char('.'), decimalSeparator);
  return QStringLiteral("ЗАПИСЬ ПРЕРВАНА: датчик перестал отвечать, записано только ") + shown +
         QStringLiteral(" с");
}

QString RejectionReason(const RecordingVerdict& verdict, const PulsogramRecord& record,
                        QChar decimalSeparator) {
  return QString::fromStdString(ImplausibleText(verdict, record.SamplePeriod,
                                                static_cast<char>(decimalSeparator.toLatin1())));
}

}  // namespace sfigmo
