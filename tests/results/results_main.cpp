// The dialog needs a widget application; numbers are checked as a user
// with Russian settings sees them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>

int main(int argc, char** argv) {
  // Listing and running the tests never needs a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
