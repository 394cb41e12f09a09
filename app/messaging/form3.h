#pragma once
// The phone SMS window, shown modally from the main window's menu.

#include <QDialog>

class TForm3 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm3(QWidget* parent = nullptr);
  ~TForm3() override;
};
