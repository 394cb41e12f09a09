#include "messaging/form3.h"

TForm3::TForm3(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form3"));
  setModal(true);
}

TForm3::~TForm3() = default;
