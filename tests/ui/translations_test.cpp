// Qt's own dialogs speak Russian once the program's translations are in:
// the buttons of message boxes and file dialogs, while the texts the layout
// fixes (the results dialog's "&Close") stay as they are.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPushButton>
#include <QTranslator>

#include "results/screens/pages_dlg.h"
#include "ui/qt_translations.h"

namespace sfigmo {
namespace {

TEST(QtTranslations, RussianForQtsOwnDialogs) {
  QTranslator* ru = InstallQtTranslations(QLocale(QLocale::Russian, QLocale::Russia), nullptr);
  ASSERT_NE(ru, nullptr) << "qtbase_ru missing: Debian's qt6-translations-l10n";
  struct Case {
    const char* context;
    const char* source;
    const char* russian;
  };
  const Case cases[] = {
      {"QPlatformTheme", "Cancel", "Отмена"},
      {"QPlatformTheme", "Open", "Открыть"},
      {"QPlatformTheme", "Save", "Сохранить"},
      {"QFileDialog", "Look in:", "Перейти к:"},
      {"QPrintDialog", "Print", "Печать"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source);
    EXPECT_EQ(QCoreApplication::translate(c.context, c.source).toStdString(), c.russian);
  }
  TPagesDlg dialog(nullptr, {',', 800});
  for (QPushButton* close : dialog.CloseButtons) EXPECT_EQ(close->text(), QStringLiteral("&Close"));
  QCoreApplication::removeTranslator(ru);
  delete ru;
}

// The program installs Russian whatever the system or default language says.
TEST(QtTranslations, TheProgramsOwnAreRussianUnderAnEnglishLocale) {
  const QLocale before;
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  QTranslator* ru = InstallProgramQtTranslations(nullptr);
  QLocale::setDefault(before);
  ASSERT_NE(ru, nullptr);
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:").toStdString(), "Перейти к:");
  QCoreApplication::removeTranslator(ru);
  delete ru;
}

TEST(QtTranslations, NoneForALanguageQtLacks) {
  EXPECT_EQ(InstallQtTranslations(QLocale(QLocale::Zulu), nullptr), nullptr);
}

}  // namespace
}  // namespace sfigmo
