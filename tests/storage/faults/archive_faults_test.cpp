// The archive on a disk that misbehaves under the program: an archive folder
// that cannot be read, and a listed record that has turned into a folder or
// a FIFO by the time the user opens it. Each gives one message naming the
// file, keeps what is in memory and on disk, and never hangs.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QListWidget>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "storage/archive_folder.h"
#include "storage/record_file.h"
#include "ui/storage_actions.h"
#include "record_builder.h"
#include "temp_dir.h"
#include "test_window.h"

namespace sfigmo {
namespace {

namespace fs = std::filesystem;
using test::Bytes;
using test::FileBytes;
using test::TestWindow;

std::unique_ptr<PulsogramRecord> Record(const std::string& name, int seed) {
  return test::RecordBuilder()
      .Samples(kMaxSamples, 0.02, [seed](int i) { return (i * 31 + seed * 977) % 3000 - 1500; })
      .Count(6000)
      .Patient(name, "61", "М")
      .Taken("26_12_08_", "09_00_0" + std::to_string(seed))
      .Build();
}

StorageActions& Actions(TestWindow& w) {
  auto* actions = w.form->findChild<StorageActions*>();
  EXPECT_NE(actions, nullptr);
  return *actions;
}

fs::path Folder(TestWindow& w) { return fs::path(w.folder.path().toStdString()); }

struct Spoiler {
  const char* what;
  std::function<void(const fs::path&)> spoil;
  bool needsNonRoot = false;
};

TEST(ArchiveFaults, UnreadableArchiveFolderGivesOneMessageAndAnEmptyList) {
  const Spoiler cases[] = {
      {"folder without read permission", [](const fs::path& a) { ::chmod(a.c_str(), 0); }, true},
      {"link that loops",
       [](const fs::path& a) {
         fs::remove_all(a);
         fs::create_symlink(a.filename(), a);
       }},
      {"file in its place",
       [](const fs::path& a) {
         fs::remove_all(a);
         std::ofstream(a) << "not a folder";
       }},
  };
  for (const Spoiler& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.needsNonRoot && ::geteuid() == 0) continue;  // root reads it anyway
    TestWindow w;
    const fs::path archive = ArchiveFolder(Folder(w));
    ASSERT_TRUE(WriteRecord(archive / "a.pul", *Record("Орлов", 1)).ok());
    c.spoil(archive);
    w.form->show();
    Actions(w).browser().OpenClick();
    EXPECT_EQ(w.form->ListBox1->count(), 0);
    ASSERT_EQ(w.messages.size(), 1) << w.messages.join(" | ").toStdString();
    EXPECT_TRUE(w.messages[0].contains(QStringLiteral("DataMLT"))) << w.messages[0].toStdString();
    // The trend list reads the same folder.
    w.messages.clear();
    Actions(w).trends().GrafClick();
    EXPECT_EQ(w.form->ListBox2->count(), 0);
    EXPECT_EQ(w.messages.size(), 1) << w.messages.join(" | ").toStdString();
    ::chmod(archive.c_str(), 0755);
  }
}

TEST(ArchiveFaults, ListedRecordTurnedIntoAFolderOrFifoIsNotOpened) {
  const Spoiler cases[] = {
      {"folder", [](const fs::path& p) { fs::remove(p), fs::create_directory(p); }},
      {"FIFO", [](const fs::path& p) { fs::remove(p), ::mkfifo(p.c_str(), 0600); }},
  };
  for (const Spoiler& c : cases) {
    SCOPED_TRACE(c.what);
    TestWindow w;
    const fs::path archive = ArchiveFolder(Folder(w));
    const auto first = Record("Антонов", 1), second = Record("Белова", 2);
    ASSERT_TRUE(WriteRecord(archive / "a.pul", *first).ok());
    ASSERT_TRUE(WriteRecord(archive / "b.pul", *second).ok());
    w.form->show();
    StorageActions& actions = Actions(w);
    actions.browser().OpenClick();
    QListWidget* list = w.form->ListBox1;
    ASSERT_EQ(list->count(), 2);

    // Open b.pul the way a user does; it becomes the last measurement.
    auto openRow = [&](int row) {
      const QRect r = list->visualItemRect(list->item(row));
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
      QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
    };
    openRow(1);
    ASSERT_TRUE(w.messages.isEmpty()) << w.messages.join(" | ").toStdString();
    ASSERT_EQ(Bytes(*w.form->CurrentRecord), Bytes(*second));
    const fs::path last = LastMeasurementFolder(Folder(w)) / "b.pul";
    ASSERT_EQ(FileBytes(last), Bytes(*second));

    // Listed again, then a.pul changes before the user double-clicks it.
    actions.browser().OpenClick();
    ASSERT_EQ(list->count(), 2);
    c.spoil(archive / "a.pul");
    openRow(0);
    ASSERT_EQ(w.messages.size(), 1);
    EXPECT_TRUE(w.messages[0].contains(QStringLiteral("a.pul"))) << w.messages[0].toStdString();
    EXPECT_EQ(Bytes(*w.form->CurrentRecord), Bytes(*second));
    EXPECT_EQ(FileBytes(last), Bytes(*second));
    EXPECT_EQ(std::distance(fs::directory_iterator(last.parent_path()), fs::directory_iterator()),
              1);
    // A new listing leaves it out.
    actions.browser().OpenClick();
    EXPECT_EQ(list->count(), 1);
  }
}

}  // namespace
}  // namespace sfigmo
