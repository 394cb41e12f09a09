#pragma once
// A main window for tests: archive in a temporary folder, comma decimal
// separator, library messages captured instead of shown modally.

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <ostream>

#include "wait_while_busy.h"
#include "print_to.h"
#include "save_picture.h"
#include "ui/form1.h"

namespace sfigmo::test {

struct TestWindow {
  explicit TestWindow(int screenWidth = 800, QString libraryFolder = {},
                      QRect availableArea = {}) {
    TForm1Options o;
    o.display.ScreenWidth = screenWidth;
    o.availableArea = availableArea;
    o.libraryFolder = std::move(libraryFolder);
    o.programFolder = folder.path();
    o.display.DecimalSeparator = ',';
    o.activateOnFirstShow = false;
    o.messagePresenter = [this](const QString& text, const QString& caption, bool) {
      messages << caption + QStringLiteral(": ") + text;
    };
    form = std::make_unique<TForm1>(o);
  }

  // Saves the window's picture as screens/<name>.png in the build tree.
  void save(const QString& name) {
    SavePicture(*form, QStringLiteral(SFIGMO_SCREENS_DIR), name);
  }

  QTemporaryDir folder;
  QStringList messages;
  std::unique_ptr<TForm1> form;
};

}  // namespace sfigmo::test
