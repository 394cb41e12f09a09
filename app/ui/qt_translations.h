#pragma once
// Qt's own texts (file and print dialogs, message-box buttons) in the
// user's language, from the translations installed with Qt.

#include <QLocale>

class QTranslator;
class QObject;

namespace sfigmo {

// Loads and installs "qtbase" for `locale`; returns the installed translator
// (owned by `owner`), or nullptr when Qt has none for that language.
QTranslator* InstallQtTranslations(const QLocale& locale, QObject* owner);

// The program's own: "qtbase_ru" whatever the system's language, so that an
// English desktop puts no "Look in" or "Cancel" into the Russian windows.
QTranslator* InstallProgramQtTranslations(QObject* owner);

}  // namespace sfigmo
