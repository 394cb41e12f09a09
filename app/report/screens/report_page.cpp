#include "report/screens/report_page.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

#include "draw/canvas.h"

namespace sfigmo {

namespace {

const QColor kNormGrey(128, 128, 128);

// Writes texts at millimetre positions on one device, in the font and colour
// last set, measuring widths on that device.
class PageWriter {
 public:
  explicit PageWriter(QPainter& painter)
      : painter_(painter), dpi_(painter.device()->logicalDpiX()) {}

  void setFont(int points, bool bold, const QColor& colour = Qt::black) {
    QFont font(ReportFontFamily());
    font.setPointSize(points);
    font.setBold(bold);
    painter_.setFont(font);
    painter_.setPen(colour);
  }
  int mm(int millimetres) const { return MmToDevice(millimetres, dpi_); }
  qreal width(const QString& text) const {
    return QFontMetricsF(painter_.font(), painter_.device()).horizontalAdvance(text);
  }
  // Top-left corner at (x, y) device pixels.
  void textAt(qreal x, int y, const QString& text) {
    if (text.isEmpty()) return;
    const QFontMetricsF fm(painter_.font(), painter_.device());
    painter_.drawText(QPointF(x, y + fm.ascent()), text);
  }
  void leftAt(int leftMm, int topMm, const QString& text) { textAt(mm(leftMm), mm(topMm), text); }
  void rightAt(int rightMm, int topMm, const QString& text) {
    textAt(mm(rightMm) - width(text), mm(topMm), text);
  }

 private:
  QPainter& painter_;
  int dpi_;
};

void DrawTable(PageWriter& w, const ReportPageText& page) {
  w.setFont(12, false, kNormGrey);
  w.rightAt(155, 110, QStringLiteral("норма"));
  for (int i = 1; i <= 8; ++i) {
    const ReportRow& row = page.Rows[i - 1];
    const int top = 110 + 7 * i;
    w.setFont(12, false);
    w.leftAt(20, top, row.Name);
    w.setFont(12, true);
    w.rightAt(110, top, row.Value);
    w.setFont(12, false);
    w.textAt(w.mm(110) + w.width(QStringLiteral(" ")), w.mm(top), row.Unit);
    w.setFont(12, false, kNormGrey);
    w.rightAt(155, top, row.Norm);
  }
}

}  // namespace

void DrawReportPage(QPainter& surface, const PulsogramRecord& record, bool surfaceOwnedByCaller,
                    const ReportPageOptions& options) {
  const ReportPageText page = BuildReportPage(record, options);
  PageWriter w(surface);

  w.setFont(12, false);
  w.rightAt(190, 20, QString::fromUtf8(kReportTitle));
  w.rightAt(190, 27, page.HeaderLine);
  w.setFont(24, true);
  w.leftAt(20, 60, page.PatientLine);
  w.setFont(18, true);
  w.leftAt(20, 100, QStringLiteral("Результаты анализа"));
  w.leftAt(20, 185, QStringLiteral("Заключение"));
  DrawTable(w, page);
  w.setFont(12, false);
  for (int n = 1; n <= page.ConclusionLines.size(); ++n)
    w.leftAt(25, 190 + 7 * n, page.ConclusionLines[n - 1]);

  if (!surfaceOwnedByCaller) surface.end();
}

}  // namespace sfigmo
