#pragma once
// The tabbed dialog that explains the verdicts of one measurement.

#include <QDialog>

namespace sfigmo {
struct AnalysisResults;
}

class TPagesDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TPagesDlg(QWidget* parent = nullptr);
  ~TPagesDlg() override;

 private:
};
