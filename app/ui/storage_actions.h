#pragma once
// Registration and saving, the archive list and the trend graphs, wired
// into the main window: its menu items "Реги&c", "Со&хр", "Отк&р",
// "Графика", both lists, the trace area's mouse and the screen replay.
// A child of the window; main thread only.

#include <QObject>
#include <memory>

#include "storage/screens/archive_browser.h"
#include "storage/screens/registration.h"
#include "storage/screens/storage_context.h"
#include "trends/screens/trend_view.h"

class TForm1;

namespace sfigmo {

class StorageActions : public QObject {
  Q_OBJECT

 public:
  // Creates the actions as a child of `window` and connects them to its
  // controls.
  static StorageActions* install(TForm1* window, StorageSurface surface);

  StorageContext& context() { return context_; }
  Registration& registration() { return registration_; }
  ArchiveBrowser& browser() { return browser_; }
  TrendView& trends() { return trends_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  StorageActions(TForm1* window, StorageSurface surface);
  void connectAll(TForm1& window);

  StorageContext context_;
  Registration registration_;
  ArchiveBrowser browser_;
  TrendView trends_;
  QObject* traceArea_ = nullptr;  // whose mouse moves drive the read-out
};

}  // namespace sfigmo
