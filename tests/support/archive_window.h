#pragma once
// A main window on a temporary program folder with the archive actions
// installed, a fixed clock, captured messages, and helpers that make
// records and press the lists the way a user does.

#include <gtest/gtest.h>

#include <QDir>
#include <QListWidget>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "record_builder.h"
#include "sample_wave.h"
#include "storage/archive_folder.h"
#include "storage/record_file.h"
#include "ui/storage_actions.h"
#include "save_picture.h"
#include "record/short_string.h"
#include "ui/form1.h"
#include "draw/trace_area.h"

namespace sfigmo::test {

namespace fs = std::filesystem;

inline QDateTime At(int h, int m, int s) { return QDateTime(QDate(2026, 12, 7), QTime(h, m, s)); }

// A recording that the check accepts (seed varies the noise); firstBeat in
// samples of 0.01 s.
inline std::unique_ptr<PulsogramRecord> WaveRecord(unsigned seed, int firstBeat = 60) {
  SampleWave w = NormalRestingWave();
  w.Seed = seed;
  w.FirstBeat = firstBeat;
  auto r = RecordBuilder().Wave(w).Build();
  r->Results.PULS = 70 + seed;
  return r;
}

// A record whose only meaning is its four trend values and its patient.
inline std::unique_ptr<PulsogramRecord> TrendRecord(const std::string& patient, double puls,
                                                    double vrki, double spso, double nagr) {
  AnalysisResults results;
  results.PULS = puls;
  results.VRKI = vrki;
  results.SPSO = spso;
  results.NAGR = nagr;
  return RecordBuilder()
      .PulseWave(NormalRestingWave())
      .Patient(patient)
      .Taken("26_12_07_", "09_05_03")
      .Results(results)
      .Build();
}

class ArchiveWindow : public ::testing::Test {
 protected:
  int screenWidth = 800;  // set before SetUp for a larger screen
  void SetUp() override {
    TForm1Options o;
    o.display.ScreenWidth = screenWidth;
    o.programFolder = dir_.path();
    o.display.DecimalSeparator = ',';
    o.activateOnFirstShow = false;
    o.messagePresenter = [this](const QString& text, const QString&, bool) { messages << text; };
    form = std::make_unique<TForm1>(o);
    form->CurrentRecord = std::make_unique<PulsogramRecord>();
    form->BrowseRecord = std::make_unique<PulsogramRecord>();
    actions = form->findChild<StorageActions*>();
    ASSERT_NE(actions, nullptr);
    actions->context().clock = [this] { return now; };
    actions->context().decimalSeparator = ',';
    form->TreeView1->setBackground(colours::White);  // as after a passed sensor check
    form->TreeView1->clear();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    QTest::qWait(20);
  }

  void Put(const fs::path& path, const PulsogramRecord& r) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << Bytes(r);  // no fsync: hundreds are written
  }
  bool TraceIsBlank() const {
    const QImage& img = form->TreeView1->canvas().image();
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x)
        if (img.pixelColor(x, y) != form->TreeView1->background()) return false;
    return true;
  }

  fs::path root() const { return fs::path(dir_.path().toStdString()); }
  fs::path archive() const { return ArchiveFolder(root()); }
  fs::path last() const { return LastMeasurementFolder(root()); }

  // Every file under the program folder with its bytes.
  std::map<std::string, std::string> Snapshot() const {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(root())) {
      std::string& bytes = files[fs::relative(e.path(), root()).string()];
      if (!e.is_regular_file()) {
        bytes = "<not a file>";  // a FIFO must not be opened: it would wait for a writer
        continue;
      }
      std::ifstream in(e.path(), std::ios::binary);
      bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    return files;
  }
  std::vector<std::string> FilesIn(const fs::path& folder) const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  // Presses an entry of a list as a user does.
  static void Click(QListWidget* list, int row) {
    QListWidgetItem* item = list->item(row);
    ASSERT_NE(item, nullptr);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
  }
  static void DoubleClick(QListWidget* list, int row) {
    QListWidgetItem* item = list->item(row);
    ASSERT_NE(item, nullptr);
    list->scrollToItem(item);
    const QPoint p = list->visualItemRect(item).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, p);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, p);
  }
  static QStringList Entries(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
  }
  void SaveScreen(const QString& name) {
    SavePicture(*form, QStringLiteral(SFIGMO_SCREENS_DIR), name);
  }

  QTemporaryDir dir_;
  QDateTime now = At(9, 5, 3);
  QStringList messages;
  std::unique_ptr<TForm1> form;
  StorageActions* actions = nullptr;
};

}  // namespace sfigmo::test
