// The window tests run offscreen with the program's window font, as
// main.cpp sets it, so pictures show what a user sees.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>

#include "draw/canvas.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setFont(QFont(sfigmo::WindowFontFamily(), 8));
  return RUN_ALL_TESTS();
}
