#include "report/form4.h"

TForm4::TForm4(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form4"));
  setModal(true);
}

TForm4::~TForm4() = default;
