#pragma once
// The archive list ("Отк&р"): lists the stored measurements and opens the
// one double-clicked as the current measurement, which also becomes the
// last measurement. Main thread only.

namespace sfigmo {

struct StorageContext;

class ArchiveBrowser {
 public:
  explicit ArchiveBrowser(StorageContext& context) : ctx_(context) {}

  void OpenClick();    // "Отк&р": fills and shows the archive list
  void OpenChosen();   // double click on the archive list: opens its entry
  void ListClicked();  // single click on the archive list: hides the trend list

 private:
  void showOpenedRecord();

  StorageContext& ctx_;
};

}  // namespace sfigmo
