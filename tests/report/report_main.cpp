// The report tests need a widget application (fonts, dialogs). Values are
// checked as a user with Russian settings sees them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <QLocale>

#include "draw/canvas.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The unit tests see no printer: a print server that is not there. The
  // real queue test sets its own.
  if (qEnvironmentVariableIsEmpty("CUPS_SERVER"))
    qputenv("CUPS_SERVER", "/nonexistent/sfigmo-test/cups.sock");
  QApplication app(argc, argv);
  // The program's face: the layout's 8-point one.
  QApplication::setFont(QFont(sfigmo::WindowFontFamily(), 8));
  QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
