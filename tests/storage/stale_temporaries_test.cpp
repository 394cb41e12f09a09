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
      {".sfigmo-tmp-a1B2c3", true},
      {".sfigmo-tmp-abcdef", true},
      // A user's copies that merely look like unmarked temporaries.
      {".МЛТ67М26_12_07_09_05_03.pul.Xy3k9Q", false},
      {"telport.txt.Ab12Cd", false},
      {"telport.txt.261209", false},
      {"sms.txt.old001", false},
      {"Ivanov.pdf.Final1", false},
      {".Ivanov.pul.q1w2e3", false},
      {".sfigmo.a1B2c3", false},
      {"x.pul", false},
      {".sfigmo-tmp-abc", false},
      {".sfigmo-tmp-abcdefg", false},
      {".sfigmo-tmp-a-b_c1", false},
      {"x.sfigmo-tmp-a1B2c3", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsProgramTemporaryName(c.name), c.ours) << c.name;
}

TEST(StaleTemporaries, OnlyOldRegularFilesOfOursAreRemoved) {
  std::string tmpl = (fs::temp_directory_path() / "sfigmo-stale-XXXXXX").string();
  ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
  const fs::path dir = tmpl;
  auto make = [&](const char* name) { std::ofstream(dir / name) << "x"; };
  for (const char* n :
       {".sfigmo-tmp-old111", ".sfigmo-tmp-new222", "keep.pul", "telport.txt.Zz9yY8"})
    make(n);
  fs::create_directory(dir / ".sfigmo-tmp-folder");
  fs::create_symlink(dir / "keep.pul", dir / ".sfigmo-tmp-link12");
  const auto now = fs::file_time_type::clock::now();
  for (const char* n : {".sfigmo-tmp-old111", "keep.pul", "telport.txt.Zz9yY8"})
    fs::last_write_time(dir / n, now - 2min);

  auto removed = RemoveStaleTemporaries(dir, 1min, now);
  EXPECT_EQ(removed, (std::vector<std::string>{".sfigmo-tmp-old111"}));
  for (const char* n : {".sfigmo-tmp-new222", "keep.pul", "telport.txt.Zz9yY8",
                        ".sfigmo-tmp-folder", ".sfigmo-tmp-link12"})
    EXPECT_TRUE(fs::exists(fs::symlink_status(dir / n))) << n;
  fs::remove_all(dir);
}

// Records, telport.txt and sms.txt are all written through WriteWholeFile:
// its temporary must be one the sweep knows, or leftovers would pile up.
TEST(StaleTemporaries, WritesGoThroughAMarkedTemporary) {
  std::string tmpl = (fs::temp_directory_path() / "sfigmo-mark-XXXXXX").string();
  ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
  const fs::path dir = tmpl;
  std::vector<std::string> seen;
  const WriteFault look = [&](WriteStep step) {
    if (step == WriteStep::Rename)
      for (const auto& e : fs::directory_iterator(dir)) seen.push_back(e.path().filename());
    return 0;
  };
  const std::uint8_t text[] = {'x'};
  ASSERT_TRUE(WriteWholeFile(dir / "sms.txt", text, look).ok());
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(IsProgramTemporaryName(seen[0])) << seen[0];
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
