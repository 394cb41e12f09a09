#pragma once
// Trend graphs on the main window ("Графика"): the trend list, the graph of
// four curves over the range picked in it, and the read-out of the record
// under the pointer. Main thread only.

#include <QString>
#include <array>
#include <memory>
#include <optional>

#include "trends/trend_model.h"

namespace sfigmo {

struct StorageContext;
struct PulsogramRecord;
class Canvas;

class TrendView {
 public:
  explicit TrendView(StorageContext& context);
  ~TrendView();

  void GrafClick();                 // "Графика": fills and shows the trend list
  void EntryClicked(int position);  // a click on the trend list's entry
  void DrawChosenRange();           // draws the graph up to the selected entry; the replay too
  void ShowReadOutAt(int x);        // the read-out while a graph is shown

  const TrendRangeRule& rangeRule() const { return rule_; }
  int rangeEnd() const { return rangeEnd_; }

 private:
  struct Entry {
    std::optional<TrendYs> Ys;  // none: damaged results, the point is left out
    QString Date, Time, Name;
  };
  void drawFrame(Canvas& c, int step) const;
  bool readRange();
  void drawCurves(Canvas& c, int step) const;
  void eraseAndWrite(Canvas& c, int slot, int x, int y, int blankWidth, const QString& text);
  char separator() const;

  StorageContext& ctx_;
  TrendRangeRule rule_;
  int rangeEnd_ = 0;
  std::array<Entry, kTrendLastPosition + 1> table_{};
  std::unique_ptr<PulsogramRecord> scratch_;
  std::array<int, 7> shownWidths_{};  // width of what each read-out slot shows
};

}  // namespace sfigmo
