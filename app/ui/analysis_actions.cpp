// The calculation ("Расче&т") and the conclusion ("Заклю&ч") of the main window.

#include "ui/form1.h"

void TForm1::RunCalculation() {}

void TForm1::ShowConclusion() {}
