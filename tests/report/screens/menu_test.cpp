// "Печать" in the main window's menu opens the print window modally over
// the same program folder.

#include <gtest/gtest.h>

#include <QAction>
#include <QTemporaryDir>

#include "report/screens/form4.h"
#include "report_test_support.h"
#include "ui/form1.h"

namespace sfigmo {
namespace {

TEST(PrintMenu, OpensThePrintWindowModallyOverTheProgramFolder) {
  QTemporaryDir folder;
  QTemporaryDir noLibrary;
  TForm1Options o;
  o.programFolder = folder.path();
  o.libraryFolder = noLibrary.path();
  o.activateOnFirstShow = false;
  o.messagePresenter = [](const QString&, const QString&, bool) {};
  TForm1 form1(o);
  TForm4 form4(&form1);
  form1.PrintForm = &form4;

  bool shownModally = false;
  QString folderSeen;
  test::WhenModal<TForm4>([&](TForm4* w) {
    shownModally = w->isModal();
    folderSeen = w->ProgramFolder;
    w->reject();
  });
  form1.Print_->trigger();
  EXPECT_TRUE(shownModally);
  EXPECT_EQ(folderSeen, form1.ProgramFolder);
  EXPECT_FALSE(form4.isVisible());
}

}  // namespace
}  // namespace sfigmo
