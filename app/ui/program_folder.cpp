#include "ui/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "storage/stale_temporaries.h"

namespace sfigmo {

QString PrepareProgramFolder(const QString& folder) {
  QString path = QDir::cleanPath(folder);
  if (!path.endsWith(QLatin1Char('/'))) path += QLatin1Char('/');
  QDir().mkpath(path + QStringLiteral("DataMLT/DatInt"));
  // Leftovers of writes that a kill cut short; only the program's own.
  RemoveStaleTemporariesUnder(QFile::encodeName(path).toStdString());
  return path;
}

QString DefaultProgramFolder() {
  const QString exeFolder = QCoreApplication::applicationDirPath();
  // The marker matters for root, to whom a system folder is writable too.
  const bool installed =
      QFileInfo::exists(exeFolder + QLatin1Char('/') + QLatin1String(kInstalledMarker));
  if (!installed && QFileInfo(exeFolder).isWritable()) return PrepareProgramFolder(exeFolder);
  const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  return PrepareProgramFolder(data + QStringLiteral("/sfigmo"));
}

}  // namespace sfigmo
