#include "trends/screens/trend_view.h"

#include <QListWidget>
#include <algorithm>

#include "draw/canvas.h"
#include "draw/screen_text.h"
#include "draw/trace_area.h"
#include "storage/archive_folder.h"
#include "storage/record_file.h"
#include "storage/screens/record_list.h"
#include "storage/screens/storage_context.h"
#include "record/short_string.h"

namespace sfigmo {
namespace {

struct Curve {
  int Index;  // into TrendYs
  const char* Number;
  QColor Colour;
};
// Drawn in the order 1, 2, 4, 3.
const std::array<Curve, kTrendCurves> kDrawOrder = {
    Curve{0, "1", colours::Red}, Curve{1, "2", colours::Blue}, Curve{3, "4", colours::Green},
    Curve{2, "3", colours::Black}};

// Read-out slots: where the blanks and then the text go.
struct Slot {
  int BlankX, X, Y;
  const char* Blank;
};
const std::array<Slot, 7> kSlots = {
    Slot{115, 115, 5, "                                "},  // name
    Slot{260, 260, 5, "            "},                      // date
    Slot{450, 450, 5, "            "},                      // time
    Slot{555, 555, 35, "         "},                        // curve 1
    Slot{550, 555, 65, "         "},                        // curve 2
    Slot{555, 555, 125, " ______"},                         // curve 4
    Slot{555, 555, 95, " ______"},                          // curve 3
};
constexpr int kNameRoom = 220 - 115 - 2;  // up to the "ДАТА -" label

template <std::size_t N>
QString FieldText(const std::uint8_t (&field)[N]) {
  return QString::fromStdString(GetShortString(field));
}

}  // namespace

TrendView::TrendView(StorageContext& context)
    : ctx_(context), scratch_(std::make_unique<PulsogramRecord>()) {}

TrendView::~TrendView() = default;

char TrendView::separator() const { return ctx_.decimalSeparator; }

void TrendView::GrafClick() {
  StorageSurface& f = ctx_.surface;
  // The trend list and then its graph are the current screen: a repaint must
  // not draw the check or the results over them.
  rule_.listed();
  f.session.apply(Step::TrendListed);
  f.view().trace().setBackground(f.view().baseColour());
  f.view().trace().clear();
  f.showTraceNow();
  QListWidget& list = f.view().list(Control::TrendList);
  list.clear();
  const RecordListing listing = ListRecordFiles(ArchiveFolder(ctx_.programFolder()));
  FillRecordList(&list, listing.Names);
  if (!listing.Error.ok()) ctx_.showError(StorageErrorText(listing.Error));
}

void TrendView::EntryClicked(int position) { rule_.clicked(position); }

void TrendView::drawFrame(Canvas& c, int step) const {
  const int span = rangeEnd_ - rule_.rangeStart();
  screens::SetFont(c, 8, false);
  c.setBrushColor(ctx_.surface.view().trace().background());
  c.textOut(80, 5, QStringLiteral("ИМЯ - "));
  c.textOut(220, 5, QStringLiteral("ДАТА -  "));
  c.textOut(400, 5, QStringLiteral("ВРЕМЯ - "));
  c.textOut(540, 20, QStringLiteral("1.ПУЛЬС"));
  c.textOut(540, 50, QStringLiteral("2.РАЗМАХ"));
  c.textOut(540, 110, QStringLiteral("4.НАГРУЗКА"));
  c.textOut(540, 80, QStringLiteral("3.СОПРОТ"));

  c.setPenColor(colours::Black);
  c.setPenWidth(2);
  c.setPenStyle(Qt::SolidLine);
  c.moveTo(kTrendLeft, 10);
  c.lineTo(kTrendLeft, kTrendAxisY);
  c.lineTo(kTrendRight, kTrendAxisY);

  c.setPenWidth(1);
  c.setPenStyle(Qt::DotLine);
  // A rounded step can carry a long range past the axis: the grid, like the
  // curves, ends at the axis, not in the legend.
  const int gridRight = std::min(kTrendLeft + span * step, kTrendRight);
  for (int j = 1; kTrendLeft + j * step <= gridRight; ++j) {
    c.moveTo(kTrendLeft + j * step, 20);
    c.lineTo(kTrendLeft + j * step, kTrendAxisY);
  }
  for (int i = 1; i <= 9; ++i) {
    c.moveTo(kTrendLeft, kTrendAxisY - 20 * i);
    c.lineTo(gridRight, kTrendAxisY - 20 * i);
  }
  c.setPenStyle(Qt::SolidLine);
}

bool TrendView::readRange() {
  StorageSurface& f = ctx_.surface;
  const std::filesystem::path archive = ArchiveFolder(ctx_.programFolder());
  for (int p = rule_.rangeStart(); p <= rangeEnd_; ++p) {
    const std::string name = RecordFileNameOf(f.view().list(Control::TrendList).item(p));
    if (StorageError e = ReadRecord(archive / name, *scratch_); !e.ok()) {
      ctx_.showError(StorageErrorText(e));
      return false;
    }
    Entry& entry = table_[p];
    entry.Ys = TrendPointYs(*scratch_);
    entry.Date = FieldText(scratch_->DateText);
    entry.Time = FieldText(scratch_->TimeText);
    entry.Name = FieldText(scratch_->PatientName);
  }
  return true;
}

void TrendView::drawCurves(Canvas& c, int step) const {
  const int start = rule_.rangeStart();
  const int span = rangeEnd_ - start;
  // Points with damaged results are left out; the curve joins the others.
  int first = 0;
  while (first <= span && !table_[start + first].Ys) ++first;
  if (first > span || kTrendLeft + first * step > kTrendRight) return;
  c.setPenWidth(1);
  for (const Curve& curve : kDrawOrder) {
    c.setPenColor(curve.Colour);
    const int y0 = (*table_[start + first].Ys)[curve.Index];
    c.moveTo(kTrendLeft, y0);
    c.lineTo(10, y0);
    c.setFontColor(curve.Colour);  // the number tells which legend the colour belongs to
    c.textOut(5, y0 - 10, QString::fromLatin1(curve.Number));
    c.setFontColor(colours::Black);
    int x = kTrendLeft + first * step;
    int y = y0;
    c.moveTo(x, y);
    for (int i = first + 1; i <= span; ++i) {
      const auto& ys = table_[start + i].Ys;
      if (!ys) continue;
      const int nextX = kTrendLeft + i * step;
      const int nextY = (*ys)[curve.Index];
      if (nextX > kTrendRight) {
        // Clipped at the axis end: the points past it have no read-out.
        c.lineTo(kTrendRight, TrendClippedY(x, y, nextX, nextY, kTrendRight));
        break;
      }
      c.lineTo(nextX, nextY);
      x = nextX;
      y = nextY;
    }
  }
  c.setPenColor(colours::Black);
}

void TrendView::DrawChosenRange() {
  StorageSurface& f = ctx_.surface;
  f.session.apply(Step::TrendRangeChosen);
  const QListWidget& list = f.view().list(Control::TrendList);
  const QListWidgetItem* selected = list.currentItem();
  rangeEnd_ = selected && selected->isSelected() ? list.currentRow() : -1;
  const int start = rule_.rangeStart();
  const RangeCheck check = CheckTrendRange(start, rangeEnd_);
  if (check == RangeCheck::Empty) return;
  if (check == RangeCheck::TooLong) {
    ctx_.showError("График строится не более чем по " + std::to_string(kTrendLastPosition + 1) +
                   " записям (позиции 0–" + std::to_string(kTrendLastPosition) +
                   " списка). Выберите начало и конец диапазона ближе к началу списка.");
    return;
  }
  f.session.show(Screen::TrendGraph);
  Canvas& c = f.traceCanvas();
  const int step = TrendStep(start, rangeEnd_);
  drawFrame(c, step);
  if (!readRange()) {
    // Not replayed: every repaint would read the same file and fail again.
    f.session.show(Screen::Idle);
    return;
  }
  drawCurves(c, step);
}

void TrendView::eraseAndWrite(Canvas& c, int slot, int x, int y, int blankWidth,
                              const QString& text) {
  // Blanks as wide as the slot, and as wide as what it showed before.
  const int erase = std::max(blankWidth, shownWidths_[slot]);
  c.fillRect(kSlots[slot].BlankX, y, kSlots[slot].BlankX + erase, y + c.textHeight(text) + 1);
  c.textOut(x, y, text);
  shownWidths_[slot] = std::max(blankWidth, x - kSlots[slot].BlankX + c.textWidth(text));
}

void TrendView::ShowReadOutAt(int x) {
  StorageSurface& f = ctx_.surface;
  if (f.session.screen() != Screen::TrendGraph) return;
  const int start = rule_.rangeStart();
  const std::optional<int> offset = TrendReadoutOffset(x, start, rangeEnd_);
  if (!offset) return;
  const Entry& e = table_[start + *offset];
  const auto values = TrendReadoutTexts(e.Ys, separator());

  Canvas& c = f.traceCanvas();
  screens::SetFont(c, 8, false);
  c.setBrushColor(f.view().trace().background());
  QString name = e.Name;
  // A long name is shortened rather than run over the "ДАТА" label.
  while (name.size() > 1 && c.textWidth(name) > kNameRoom) name.chop(1);
  if (name.size() < e.Name.size()) name[name.size() - 1] = QChar(0x2026);
  const std::array<QString, 7> texts = {name,
                                        e.Date,
                                        e.Time,
                                        QString::fromStdString(values[0]),
                                        QString::fromStdString(values[1]),
                                        QString::fromStdString(values[3]),
                                        QString::fromStdString(values[2])};
  for (std::size_t i = 0; i < kSlots.size(); ++i) {
    const Slot& s = kSlots[i];
    const int blank = c.textWidth(QString::fromLatin1(s.Blank)) + (s.X - s.BlankX);
    eraseAndWrite(c, static_cast<int>(i), s.X, s.Y, blank, texts[i]);
  }
}

}  // namespace sfigmo
