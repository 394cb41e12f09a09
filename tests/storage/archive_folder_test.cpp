// The archive folders on disk: listing, the last measurement, and saving
// with a failure made at every step of both writes.
#include "storage/archive_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>

#include "record_builder.h"

namespace sfigmo {
namespace {

namespace fs = std::filesystem;
using test::Bytes;

class ArchiveFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "sfigmo-archive-XXXXXX").string();
    root_ = ::mkdtemp(tmpl.data());
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }

  // A record with noise in every byte and the given patient and time.
  std::unique_ptr<PulsogramRecord> Record(const std::string& name, const std::string& time,
                                          unsigned seed) {
    return test::RecordBuilder()
        .Noise(seed)
        .Patient(name, "67", "М")
        .Taken("26_12_07_", time)
        .Build();
  }

  // Every file under the program folder with its bytes.
  std::map<std::string, std::string> Snapshot() const {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(root_)) {
      std::ifstream in(e.path(), std::ios::binary);
      files[fs::relative(e.path(), root_).string()] =
          e.is_regular_file() ? std::string(std::istreambuf_iterator<char>(in), {}) : "<dir>";
    }
    return files;
  }

  fs::path root_;
};

TEST_F(ArchiveFolderTest, ListsOnlyRecordFiles) {
  const fs::path a = ArchiveFolder(root_);
  fs::create_directories(a / "folder.pul");
  ASSERT_EQ(::mkfifo((a / "pipe.pul").c_str(), 0600), 0);
  for (const char* n : {"x.pul", "Y.PUL", ".hidden.pul", "notes.txt", ".pul", "x.pul.tmp"}) {
    std::ofstream(a / n) << "x";
  }
  fs::create_symlink(a / "x.pul", a / "link.pul");
  RecordListing l = ListRecordFiles(a);
  ASSERT_TRUE(l.Error.ok());
  std::sort(l.Names.begin(), l.Names.end());
  EXPECT_EQ(l.Names, (std::vector<std::string>{".hidden.pul", "Y.PUL", "link.pul", "x.pul"}));
}

TEST_F(ArchiveFolderTest, MissingOrUnlistableFolderIsAFolderError) {
  RecordListing l = ListRecordFiles(root_ / "none");
  EXPECT_EQ(l.Error.Failure, StorageFailure::Folder);
  EXPECT_TRUE(l.Names.empty());
  std::ofstream(root_ / "file") << "x";
  EXPECT_EQ(ListRecordFiles(root_ / "file").Error.Failure, StorageFailure::Folder);
  EXPECT_NE(StorageErrorText(l.Error).find((root_ / "none").string()), std::string::npos);
  if (::geteuid() != 0) {  // permissions do not stop root
    fs::create_directories(root_ / "closed");
    fs::permissions(root_ / "closed", fs::perms::none);
    EXPECT_EQ(ListRecordFiles(root_ / "closed").Error.Errno, EACCES);
    fs::permissions(root_ / "closed", fs::perms::owner_all);
  }
}

TEST_F(ArchiveFolderTest, SaveWritesArchiveAndLeavesOneLastMeasurement) {
  auto first = Record("Иванов", "09_05_03", 1);
  ASSERT_TRUE(SaveMeasurement(root_, *first).ok());
  auto second = Record("Петров", "10_00_00", 2);
  const SaveOutcome s = SaveMeasurement(root_, *second);
  ASSERT_TRUE(s.ok()) << StorageErrorText(s.Error);
  EXPECT_EQ(s.Name.Name, "Петров67М26_12_07_10_00_00.pul");
  const auto files = Snapshot();
  EXPECT_EQ(files.at("DataMLT/Иванов67М26_12_07_09_05_03.pul"), Bytes(*first));
  EXPECT_EQ(files.at("DataMLT/Петров67М26_12_07_10_00_00.pul"), Bytes(*second));
  EXPECT_EQ(files.at("DataMLT/DatInt/Петров67М26_12_07_10_00_00.pul"), Bytes(*second));
  EXPECT_EQ(files.size(), 5u);  // two folders, two records, one last measurement
  EXPECT_EQ(FindLastRecord(LastMeasurementFolder(root_)),
            LastMeasurementFolder(root_) / s.Name.Name);
}

TEST_F(ArchiveFolderTest, SavingTwiceInOneSecondOverwritesOneFile) {
  auto r = Record("Иванов", "09_05_03", 1);
  ASSERT_TRUE(SaveMeasurement(root_, *r).ok());
  r->Samples[0] ^= 1;
  ASSERT_TRUE(SaveMeasurement(root_, *r).ok());
  const auto files = Snapshot();
  EXPECT_EQ(files.size(), 4u);
  EXPECT_EQ(files.at("DataMLT/Иванов67М26_12_07_09_05_03.pul"), Bytes(*r));
}

TEST_F(ArchiveFolderTest, RefusedNameWritesNothing) {
  ASSERT_TRUE(SaveMeasurement(root_, *Record("Иванов", "09_05_03", 1)).ok());
  const auto before = Snapshot();
  for (const char* hostile : {"../../x", "a/b", "/etc/x"}) {
    const SaveOutcome s = SaveMeasurement(root_, *Record(hostile, "10_00_00", 2));
    EXPECT_EQ(s.Name.Problem, NameProblem::Separator) << hostile;
    EXPECT_EQ(Snapshot(), before) << hostile;
  }
  EXPECT_FALSE(fs::exists(root_.parent_path() / "x"));
}

// A failure at each step of the archive write, then of the last-measurement
// write: nothing stored before is lost or damaged, no temporary file stays,
// and the folder of the last measurement always holds a whole record.
TEST_F(ArchiveFolderTest, FailureAtEveryStepLosesNothing) {
  const WriteStep steps[] = {WriteStep::CreateTemporary, WriteStep::Write, WriteStep::Sync,
                             WriteStep::Close, WriteStep::Rename};
  auto old = Record("Иванов", "09_05_03", 1);
  auto fresh = Record("Петров", "10_00_00", 2);
  for (int failingWrite = 0; failingWrite < 2; ++failingWrite) {
    for (WriteStep step : steps) {
      fs::remove_all(ArchiveFolder(root_));
      ASSERT_TRUE(SaveMeasurement(root_, *old).ok());
      const auto before = Snapshot();
      int writes = 0;
      const WriteFault fault = [&](WriteStep s) {
        if (s == WriteStep::CreateTemporary) ++writes;
        return writes == failingWrite + 1 && s == step ? ENOSPC : 0;
      };
      const SaveOutcome s = SaveMeasurement(root_, *fresh, fault);
      EXPECT_EQ(s.Error.Errno, ENOSPC);
      EXPECT_NE(StorageErrorText(s.Error).find("нет места на диске"), std::string::npos);
      auto after = Snapshot();
      const std::string name = "Петров67М26_12_07_10_00_00.pul";
      if (failingWrite == 1) {
        // The archive copy was written before the failure and stays.
        EXPECT_EQ(after.at("DataMLT/" + name), Bytes(*fresh));
        after.erase("DataMLT/" + name);
      }
      EXPECT_EQ(after, before) << "failing write " << failingWrite << " step " << int(step);
    }
  }
}

TEST_F(ArchiveFolderTest, LastMeasurementIsTheNewestWhenACrashLeftTwo) {
  const fs::path last = LastMeasurementFolder(root_);
  fs::create_directories(last);
  std::ofstream(last / "b.pul") << "old";
  std::ofstream(last / "a.pul") << "new";
  fs::last_write_time(last / "b.pul", fs::last_write_time(last / "a.pul") - std::chrono::hours(1));
  EXPECT_EQ(FindLastRecord(last), last / "a.pul");
  fs::remove(last / "a.pul");
  fs::remove(last / "b.pul");
  EXPECT_FALSE(FindLastRecord(last));
}

TEST_F(ArchiveFolderTest, MissingFoldersAreCreatedAndAFileInTheWayIsReported) {
  ASSERT_TRUE(SaveMeasurement(root_ / "fresh", *Record("Иванов", "09_05_03", 1)).ok());
  EXPECT_TRUE(fs::exists(LastMeasurementFolder(root_ / "fresh")));
  fs::create_directories(root_ / "blocked");
  std::ofstream(root_ / "blocked" / "DataMLT") << "not a folder";
  const SaveOutcome s = SaveMeasurement(root_ / "blocked", *Record("Иванов", "09_05_03", 1));
  EXPECT_EQ(s.Error.Failure, StorageFailure::Folder);
}

}  // namespace
}  // namespace sfigmo
