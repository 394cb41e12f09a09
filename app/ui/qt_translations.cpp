#include "ui/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace sfigmo {

QTranslator* InstallQtTranslations(const QLocale& locale, QObject* owner) {
  auto* translator = new QTranslator(owner);
  if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return nullptr;
  }
  QCoreApplication::installTranslator(translator);
  return translator;
}

QTranslator* InstallProgramQtTranslations(QObject* owner) {
  return InstallQtTranslations(QLocale(QLocale::Russian, QLocale::Russia), owner);
}

}  // namespace sfigmo
