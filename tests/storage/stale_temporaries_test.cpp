// The start-up sweep of interrupted writes: only the program's own
// temporary names, only when older than a minute, never a link or a folder.

#include "storage/stale_temporaries.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>

#include "storage/archive_folder.h"
#include "storage/record_file.h"

namespace sfigmo {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

TEST(StaleTemporaries, NamesOfTheProgramAndNothingElse) {
  struct Case {
    const char* name;
    bool ours;
  } cases[] = {
      {".sfigmo.a1B2c3", true},
      {".sfigmo.abcdef", true},
      {".МЛТ67М26_12_07_09_05_03.pul.Xy3k9Q", true},  // records before the short name
      {"telport.txt.Ab12Cd", true},
      {"sms.txt.9f8e7D", true},
      {"отчёт.pdf.k2J9xx", true},
      {"telport.txt.backup", false},  // a word, not six random characters
      {"notes.pdf.BACKUP", false},
      {"x.pul", false},
      {".sfigmo.abc", false},
      {".sfigmo.abcdefg", false},
      {"telport.txt", false},
      {"МЛТ67М26_12_07_09_05_03.pul.Xy3k9Q", false},  // record temporaries were hidden
      {".x.pul.a-b_c1", false},
      {"other.txt.Ab12Cd", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsProgramTemporaryName(c.name), c.ours) << c.name;
}

TEST(StaleTemporaries, OnlyOldRegularFilesOfOursAreRemoved) {
  std::string tmpl = (fs::temp_directory_path() / "sfigmo-stale-XXXXXX").string();
  ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
  const fs::path dir = tmpl;
  auto make = [&](const char* name) { std::ofstream(dir / name) << "x"; };
  for (const char* n : {".sfigmo.old111", ".sfigmo.new222", "keep.pul", "telport.txt.Zz9yY8"})
    make(n);
  fs::create_directory(dir / ".sfigmo.folder");
  fs::create_symlink(dir / "keep.pul", dir / ".sfigmo.link12");
  const auto now = fs::file_time_type::clock::now();
  for (const char* n : {".sfigmo.old111", "keep.pul", "telport.txt.Zz9yY8"})
    fs::last_write_time(dir / n, now - 2min);

  auto removed = RemoveStaleTemporaries(dir, 1min, now);
  std::sort(removed.begin(), removed.end());
  EXPECT_EQ(removed, (std::vector<std::string>{".sfigmo.old111", "telport.txt.Zz9yY8"}));
  for (const char* n : {".sfigmo.new222", "keep.pul", ".sfigmo.folder", ".sfigmo.link12"})
    EXPECT_TRUE(fs::exists(fs::symlink_status(dir / n))) << n;
  fs::remove_all(dir);
}

TEST(StaleTemporaries, ARecordNamedAtTheLimitIsWrittenBesideAShortTemporary) {
  std::string tmpl = (fs::temp_directory_path() / "sfigmo-long-XXXXXX").string();
  ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
  const fs::path dir = tmpl;
  const std::string name = std::string(251, 'a') + ".pul";  // 255 bytes
  auto record = std::make_unique<PulsogramRecord>();
  record->SampleCount = 7;
  const StorageError e = WriteRecord(dir / name, *record);
  EXPECT_TRUE(e.ok()) << StorageErrorText(e);
  auto back = std::make_unique<PulsogramRecord>();
  EXPECT_TRUE(ReadRecord(dir / name, *back).ok());
  EXPECT_EQ(back->SampleCount, 7);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace sfigmo
