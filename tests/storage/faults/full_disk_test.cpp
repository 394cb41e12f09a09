// Saving onto a disk that really fills up: a small tmpfs mounted for the
// test (root only; skipped elsewhere, where the injected failures of the
// storage tests stand in). Every record already stored stays as it was, the
// failure reads "нет места на диске", and no temporary file is left behind.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "storage/archive_folder.h"
#include "record_builder.h"

namespace sfigmo {
namespace {

namespace fs = std::filesystem;

class FullDiskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "sfigmo-full-XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    root_ = tmpl;
    // Room for the folders and about four records of 44136 bytes.
    if (::geteuid() != 0 || ::mount("tmpfs", root_.c_str(), "tmpfs", 0, "size=192k") != 0) {
      const int err = errno;
      fs::remove(root_);
      root_.clear();
      GTEST_SKIP() << "no small tmpfs: " << std::strerror(err);
    }
  }
  void TearDown() override {
    if (root_.empty()) return;
    ::umount2(root_.c_str(), MNT_DETACH);
    std::error_code ec;
    fs::remove_all(root_, ec);
  }

  static std::unique_ptr<PulsogramRecord> Record(int n) {
    return test::RecordBuilder()
        .Samples(kMaxSamples, 0.02, [n](int i) { return (i * 37 + n * 1001) % 4000 - 2000; })
        .Patient("Сидорова", "54", "Ж")
        .Taken("26_12_08_", "10_00_0" + std::to_string(n))
        .Build();
  }

  std::map<std::string, std::string> Snapshot() const {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(root_)) {
      if (!e.is_regular_file()) continue;
      std::ifstream in(e.path(), std::ios::binary);
      files[fs::relative(e.path(), root_).string()] =
          std::string(std::istreambuf_iterator<char>(in), {});
    }
    return files;
  }

  fs::path root_;
};

TEST_F(FullDiskTest, SaveReportsTheFullDiskAndLosesNothingStored) {
  std::map<std::string, std::string> stored;
  SaveOutcome last;
  int saved = 0;
  for (int n = 0; n < 9; ++n) {
    const auto before = Snapshot();
    last = SaveMeasurement(root_, *Record(n));
    if (!last.ok()) {
      stored = before;
      break;
    }
    ++saved;
  }
  ASSERT_FALSE(last.ok()) << "the disk never filled up";
  ASSERT_GE(saved, 1);
  EXPECT_EQ(last.Error.Errno, ENOSPC);
  EXPECT_NE(StorageErrorText(last.Error).find("нет места на диске"), std::string::npos)
      << StorageErrorText(last.Error);

  // What was stored before the failing save is all there, byte for byte;
  // the failing save may only have added its complete archive copy.
  auto after = Snapshot();
  const std::string fresh = "DataMLT/" + last.Name.Name;
  if (after.count(fresh) && !stored.count(fresh)) {
    const auto record = Record(saved);
    EXPECT_EQ(after.at(fresh),
              std::string(reinterpret_cast<const char*>(record.get()), kRecordSize));
    after.erase(fresh);
  }
  EXPECT_EQ(after, stored);
  for (const auto& [path, bytes] : after) {
    EXPECT_EQ(bytes.size(), kRecordSize) << path;
  }
}

}  // namespace
}  // namespace sfigmo
