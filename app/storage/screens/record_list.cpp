#include "storage/screens/record_list.h"

#include <QCollator>
#include <QFile>
#include <QListWidget>
#include <QLocale>
#include <memory>

namespace sfigmo {
namespace {

constexpr int kFileNameRole = Qt::UserRole;

// An entry that sorts by a sort key computed once, so that sorting ten
// thousand names costs byte comparisons rather than collations.
class RecordItem : public QListWidgetItem {
 public:
  RecordItem(const QString& text, QCollatorSortKey key, const QByteArray& fileName)
      : QListWidgetItem(text, nullptr, QListWidgetItem::UserType), key_(std::move(key)) {
    setData(kFileNameRole, fileName);
  }
  bool operator<(const QListWidgetItem& other) const override {
    if (other.type() != QListWidgetItem::UserType) return QListWidgetItem::operator<(other);
    const auto& o = static_cast<const RecordItem&>(other);
    const int c = key_.compare(o.key_);
    return c != 0 ? c < 0 : text() < o.text();  // equal ignoring case: a fixed order still
  }

 private:
  QCollatorSortKey key_;
};

}  // namespace

void FillRecordList(QListWidget* list, const std::vector<std::string>& names,
                    const QString& localeName) {
  QCollator collator(localeName.isEmpty() ? QLocale() : QLocale(localeName));
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  const bool sorted = list->isSortingEnabled();
  list->setUpdatesEnabled(false);
  list->setSortingEnabled(false);
  list->clear();
  for (const std::string& name : names) {
    const QByteArray bytes = QByteArray::fromStdString(name);
    const QString text = QFile::decodeName(bytes);
    list->addItem(new RecordItem(text, collator.sortKey(text), bytes));
  }
  // One sort by the keys, rather than a search per insertion.
  list->sortItems(Qt::AscendingOrder);
  list->setSortingEnabled(sorted);
  list->setUpdatesEnabled(true);
}

std::string RecordFileNameOf(const QListWidgetItem* item) {
  if (!item) return {};
  const QVariant bytes = item->data(kFileNameRole);
  if (bytes.isValid()) return bytes.toByteArray().toStdString();
  return QFile::encodeName(item->text()).toStdString();
}

}  // namespace sfigmo
