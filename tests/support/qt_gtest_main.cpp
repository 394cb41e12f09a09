// GoogleTest under a Qt application, offscreen unless the run names a
// platform (test listing at ctest time runs without the test's environment).
// What each test program needs of the application comes as definitions:
//   SFIGMO_TEST_GUI_APP         QGuiApplication (text on a canvas needs the
//                               font database) instead of QApplication
//   SFIGMO_TEST_RUSSIAN_LOCALE  values as a user with Russian settings sees them
//   SFIGMO_TEST_WINDOW_FONT     the program's 8-point window face, as main.cpp
//                               sets it, so pictures show what a user sees
//   SFIGMO_TEST_PRIVATE_CACHE   the help's working copy and search index go
//                               to a cache folder of this run, never the user's
//   SFIGMO_TEST_NO_PRINTER      a print server that is not there, unless the
//                               run names one (the real queue test does)
#include <gtest/gtest.h>

#include <QLocale>
#include <QTemporaryDir>

#ifdef SFIGMO_TEST_GUI_APP
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#else
#include <QApplication>
using TestApplication = QApplication;
#endif

#ifdef SFIGMO_TEST_WINDOW_FONT
#include <QFont>

#include "draw/canvas.h"
#endif

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef SFIGMO_TEST_NO_PRINTER
  if (qEnvironmentVariableIsEmpty("CUPS_SERVER"))
    qputenv("CUPS_SERVER", "/nonexistent/sfigmo-test/cups.sock");
#endif
#ifdef SFIGMO_TEST_PRIVATE_CACHE
  QTemporaryDir cache;
  qputenv("XDG_CACHE_HOME", cache.path().toUtf8());
#endif
  TestApplication app(argc, argv);
#ifdef SFIGMO_TEST_WINDOW_FONT
  TestApplication::setFont(QFont(sfigmo::WindowFontFamily(), 8));
#endif
#ifdef SFIGMO_TEST_RUSSIAN_LOCALE
  QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
#endif
  return RUN_ALL_TESTS();
}
