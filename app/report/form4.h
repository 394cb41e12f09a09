#pragma once
// The print window, shown modally from the main window's menu.

#include <QDialog>

class TForm4 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm4(QWidget* parent = nullptr);
  ~TForm4() override;
};
