#pragma once
// What registration, saving, the archive list and the trend graphs share:
// the part of the main window they work on, the clock they take the date and time from,
// and the way a failure reaches the user. Main thread only.

#include <QDateTime>
#include <QString>
#include <filesystem>
#include <functional>
#include <string>

#include "storage/record_file.h"
#include "storage/screens/storage_surface.h"

namespace sfigmo {

struct StorageContext {
  explicit StorageContext(StorageSurface window) : surface(std::move(window)) {}

  StorageSurface surface;
  // Local date and time of registration and saving; tests fix it.
  std::function<QDateTime()> clock = [] { return QDateTime::currentDateTime(); };
  // Decimal separator of the numbers shown (the display settings').
  char decimalSeparator = '.';
  // Makes a step of a record write fail on demand (fault tests); empty: none.
  WriteFault writeFault;

  // One message box for a failed action, through the window's presenter.
  void showError(const std::string& utf8) const {
    surface.presentMessage(QString::fromStdString(utf8), QStringLiteral("Ошибка"), true);
  }
  std::filesystem::path programFolder() const {
    return std::filesystem::path(surface.ProgramFolder.toStdString());
  }
};

}  // namespace sfigmo
