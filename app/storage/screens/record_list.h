#pragma once
// Filling the archive and trend lists: record file names in the order a
// Russian reader expects (the locale's collation, letter case ignored),
// each entry keeping the exact bytes of its file name. Main thread only.

#include <QByteArray>
#include <QString>
#include <string>
#include <vector>

class QListWidget;
class QListWidgetItem;

namespace sfigmo {

// Empties `list` and adds one entry per name (bytes as the file system holds
// them), sorted by the collation of `localeName` ("" for the default locale).
void FillRecordList(QListWidget* list, const std::vector<std::string>& names,
                    const QString& localeName = {});

// The file name an entry stands for, as the file system holds it.
std::string RecordFileNameOf(const QListWidgetItem* item);

}  // namespace sfigmo
