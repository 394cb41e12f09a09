#pragma once
// The tabbed results dialog: one index group per tab, a coloured verdict
// over a fixed explanation. Created once at program start and shown
// modally by the conclusion; main thread only.

#include <QDialog>

#include "draw/display_settings.h"

class QLabel;
class QListWidget;
class QPushButton;
class QStatusBar;
class QTabWidget;

namespace sfigmo {
struct AnalysisResults;
struct PulsogramRecord;
}  // namespace sfigmo

class TPagesDlg : public QDialog {
  Q_OBJECT

 public:
  // The layout, designed for 800, is scaled to display.ScreenWidth; the
  // verdicts' numbers use display.DecimalSeparator.
  explicit TPagesDlg(QWidget* parent = nullptr, const sfigmo::DisplaySettings& display = {});
  ~TPagesDlg() override;

  // Where the verdicts come from: the working results of the last
  // calculation and the current record. Both must outlive the next
  // activation; set them again when the record buffer is replaced. Null
  // pointers read as all-zero results.
  void setSources(const sfigmo::AnalysisResults* working, const sfigmo::PulsogramRecord* record);

  // Fills the five verdict labels and lets pending events run; runs each
  // time the dialog becomes active. Showing fills them too (without running
  // events, which would let a close slip in before the modal loop starts).
  void FormActivate();

  // Controls, named as the rest of the program refers to them.
  QTabWidget* PageControl1 = nullptr;
  QLabel* Label2 = nullptr;  // "Пульс"
  QLabel* Label3 = nullptr;  // "Сердце"
  QLabel* Label4 = nullptr;  // "Сосуды"
  QLabel* Label5 = nullptr;  // "Ритм"
  QLabel* Label6 = nullptr;  // "Перебои"
  QListWidget* ListBoxes[5] = {};
  QPushButton* CloseButtons[5] = {};
  QStatusBar* StatusBar1 = nullptr;

  double scale() const { return scale_; }

 protected:
  void showEvent(QShowEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void FormCreate(int screenWidth);
  QWidget* makePage(int tab, QLabel*& label);
  QLabel* verdictLabel(int tab) const;
  void fillVerdicts(bool pulseFirst);

  const sfigmo::AnalysisResults* working_ = nullptr;
  const sfigmo::PulsogramRecord* record_ = nullptr;
  char separator_ = '.';
  double scale_ = 1.0;
};
