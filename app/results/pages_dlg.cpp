#include "results/pages_dlg.h"

TPagesDlg::TPagesDlg(QWidget* parent) : QDialog(parent) {}

TPagesDlg::~TPagesDlg() = default;
