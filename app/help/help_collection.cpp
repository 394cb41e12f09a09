#include "help/help_collection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <filesystem>
#include <system_error>

namespace sfigmo {
namespace {

bool SameFile(const QFileInfo& a, const QFileInfo& b) {
  return b.exists() && a.size() == b.size() && a.lastModified() == b.lastModified();
}

// Copies through a temporary name and a rename, so a second program starting
// at the same time never opens a half-written collection. The copy is made
// writable (the installed files are not) and keeps the source's time, which
// is what later starts compare.
bool CopyInto(const QFileInfo& source, const QString& target) {
  const QString temporary = target + QStringLiteral(".part");
  QFile::remove(temporary);
  if (!QFile::copy(source.absoluteFilePath(), temporary)) return false;
  QFile copy(temporary);
  copy.setPermissions(copy.permissions() | QFileDevice::WriteOwner | QFileDevice::ReadOwner);
  if (copy.open(QIODevice::ReadWrite)) {
    copy.setFileTime(source.lastModified(), QFileDevice::FileModificationTime);
    copy.close();
  }
  std::error_code failed;
  std::filesystem::rename(QFile::encodeName(temporary).toStdString(),
                          QFile::encodeName(target).toStdString(), failed);
  if (failed) QFile::remove(temporary);
  return !failed;
}

}  // namespace

QString DefaultHelpCacheFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
         QStringLiteral("/sfigmo/help");
}

HelpCollection PrepareHelpCollection(const QString& programFolder, const QString& cacheFolder) {
  const QDir program(programFolder);
  const QFileInfo collection(program.filePath(QLatin1String(kHelpCollectionFile)));
  const QFileInfo pages(program.filePath(QLatin1String(kHelpPagesFile)));
  for (const QFileInfo& needed : {collection, pages}) {
    if (!needed.isFile() || !needed.isReadable()) {
      return {QString(), QStringLiteral("Справка недоступна: не найден файл справки\n%1")
                             .arg(QDir::toNativeSeparators(needed.absoluteFilePath()))};
    }
  }

  const QDir cache(cacheFolder);
  const QString collectionCopy = cache.filePath(QLatin1String(kHelpCollectionFile));
  const QString pagesCopy = cache.filePath(QLatin1String(kHelpPagesFile));
  if (SameFile(collection, QFileInfo(collectionCopy)) && SameFile(pages, QFileInfo(pagesCopy))) {
    return {collectionCopy, QString()};
  }
  if (QDir().mkpath(cacheFolder)) {
    // The search index of an older help would answer with the old pages.
    QDir(cache.filePath(QStringLiteral(".tervolan"))).removeRecursively();
    if (CopyInto(pages, pagesCopy) && CopyInto(collection, collectionCopy)) {
      return {collectionCopy, QString()};
    }
  }
  return {collection.absoluteFilePath(), QString()};
}

}  // namespace sfigmo
