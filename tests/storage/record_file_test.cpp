#include "storage/record_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "record_builder.h"
#include "record/short_string.h"
#include "temp_dir.h"

namespace sfigmo {
namespace {

namespace fs = std::filesystem;

using test::TempDir;

std::vector<std::uint8_t> FileBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& p, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(p, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// A record whose every byte is noise, so that a writer that drops or moves
// any byte (gaps and tails of short strings included) shows up.
std::unique_ptr<PulsogramRecord> NoiseRecord(unsigned seed) {
  return test::RecordBuilder().Noise(seed).Build();
}

TEST(RecordFile, RoundTripIsByteForByte) {
  TempDir dir;
  auto reused = NoiseRecord(99);  // every file read in place into this one
  for (std::uint16_t count : {std::uint16_t{0}, std::uint16_t{316}, std::uint16_t{10901}}) {
    auto rec = NoiseRecord(count);
    rec->SampleCount = count;
    const fs::path file = dir.path() / "a.pul";
    ASSERT_TRUE(WriteRecord(file, *rec).ok());
    const auto bytes = FileBytes(file);
    ASSERT_EQ(bytes.size(), kRecordSize);
    EXPECT_EQ(std::memcmp(bytes.data(), rec.get(), kRecordSize), 0);

    auto back = std::make_unique<PulsogramRecord>();
    ASSERT_TRUE(ReadRecord(file, *back).ok());
    EXPECT_EQ(std::memcmp(back.get(), rec.get(), kRecordSize), 0);
    EXPECT_EQ(back->SampleCount, count);
    ASSERT_TRUE(ReadRecordInPlace(file, *reused).ok());
    EXPECT_EQ(std::memcmp(reused.get(), rec.get(), kRecordSize), 0);
  }
}

TEST(RecordFile, FieldsLieAtTheirFileOffsets) {
  TempDir dir;
  auto rec = NoiseRecord(1);
  rec->Gain = 0x01020304;
  rec->SamplePeriod = 0.01;
  rec->SampleCount = 0x0A0B;
  rec->Samples[0] = -40;
  rec->Samples[kMaxSamples - 1] = 77;
  rec->Results.NAGR = 0.09;
  rec->Results.IntervalSD = 0.3921;
  const fs::path file = dir.path() / "o.pul";
  ASSERT_TRUE(WriteRecord(file, *rec).ok());
  const auto b = FileBytes(file);
  auto at = [&](std::size_t off, auto value) {
    decltype(value) v;
    std::memcpy(&v, b.data() + off, sizeof v);
    return v == value;
  };
  EXPECT_TRUE(at(328, std::int32_t{0x01020304}));
  EXPECT_EQ(b[328], 0x04);  // little-endian
  EXPECT_TRUE(at(336, 0.01));
  EXPECT_TRUE(at(344, std::uint16_t{0x0A0B}));
  EXPECT_TRUE(at(348, std::int32_t{-40}));
  EXPECT_TRUE(at(348 + 4 * 10900, std::int32_t{77}));
  EXPECT_TRUE(at(43952, 0.09));
  EXPECT_TRUE(at(44128, 0.3921));
}

TEST(RecordFile, ReservedIsAlwaysWrittenAsZero) {
  TempDir dir;
  auto rec = NoiseRecord(2);
  rec->Results.Reserved = 123.5;
  const fs::path file = dir.path() / "r.pul";
  ASSERT_TRUE(WriteRecord(file, *rec).ok());
  auto back = std::make_unique<PulsogramRecord>();
  ASSERT_TRUE(ReadRecord(file, *back).ok());
  EXPECT_EQ(back->Results.Reserved, 0.0);
  EXPECT_EQ(rec->Results.Reserved, 123.5);  // the caller's buffer is not touched
}

TEST(RecordFile, ShortFileIsRefusedNamingTheFile) {
  TempDir dir;
  const fs::path file = dir.path() / "short.pul";
  WriteBytes(file, std::vector<std::uint8_t>(kRecordSize - 1, 0x11));
  auto rec = NoiseRecord(3);
  const auto before =
      std::vector<std::uint8_t>(reinterpret_cast<std::uint8_t*>(rec.get()),
                                reinterpret_cast<std::uint8_t*>(rec.get()) + kRecordSize);
  const StorageError e = ReadRecord(file, *rec);
  EXPECT_EQ(e.Failure, StorageFailure::TooShort);
  EXPECT_EQ(e.BytesFound, kRecordSize - 1);
  const std::string text = StorageErrorText(e);
  EXPECT_NE(text.find(file.string()), std::string::npos) << text;
  EXPECT_NE(text.find("44135"), std::string::npos) << text;
  // The record in memory keeps what it held.
  EXPECT_EQ(std::memcmp(before.data(), rec.get(), kRecordSize), 0);

  WriteBytes(file, {});
  EXPECT_EQ(ReadRecord(file, *rec).Failure, StorageFailure::TooShort);
  EXPECT_EQ(ReadRecordInPlace(file, *rec).Failure, StorageFailure::TooShort);
  EXPECT_EQ(ReadRecordInPlace(dir.path() / "none.pul", *rec).Errno, ENOENT);
}

TEST(RecordFile, LongerFileIsReadAsItsFirstRecord) {
  TempDir dir;
  auto rec = NoiseRecord(4);
  std::vector<std::uint8_t> bytes(reinterpret_cast<std::uint8_t*>(rec.get()),
                                  reinterpret_cast<std::uint8_t*>(rec.get()) + kRecordSize);
  bytes.resize(2 * kRecordSize + 17, 0xEE);
  const fs::path file = dir.path() / "long.pul";
  WriteBytes(file, bytes);
  auto back = std::make_unique<PulsogramRecord>();
  ASSERT_TRUE(ReadRecord(file, *back).ok());
  EXPECT_EQ(std::memcmp(back.get(), rec.get(), kRecordSize), 0);
}

TEST(RecordFile, MissingFilesAndFoldersAreTypedErrors) {
  TempDir dir;
  auto rec = std::make_unique<PulsogramRecord>();
  StorageError e = ReadRecord(dir.path() / "none.pul", *rec);
  EXPECT_EQ(e.Failure, StorageFailure::Open);
  EXPECT_EQ(e.Errno, ENOENT);
  EXPECT_NE(StorageErrorText(e).find("none.pul"), std::string::npos);
  EXPECT_NE(StorageErrorText(e).find("не найдены"), std::string::npos);

  e = ReadRecord(dir.path(), *rec);
  EXPECT_EQ(e.Failure, StorageFailure::Open);
  EXPECT_EQ(e.Errno, EISDIR);

  ASSERT_EQ(::mkfifo((dir.path() / "fifo.pul").c_str(), 0600), 0);
  e = ReadRecord(dir.path() / "fifo.pul", *rec);  // must not wait for a writer
  EXPECT_EQ(e.Failure, StorageFailure::Open);
  EXPECT_NE(StorageErrorText(e).find("не обычный файл"), std::string::npos);

  e = WriteRecord(dir.path() / "no-folder" / "x.pul", *rec);
  EXPECT_EQ(e.Failure, StorageFailure::Open);
  EXPECT_EQ(e.Errno, ENOENT);
}

TEST(RecordFile, UnwritableFolderLeavesNothingBehind) {
  auto rec = NoiseRecord(6);
  if (::geteuid() == 0) {
    // Root passes every permission check; sysfs still refuses new files.
    const StorageError e = WriteRecord("/sys/sfigmo-test.pul", *rec);
    EXPECT_EQ(e.Failure, StorageFailure::Open);
    EXPECT_NE(e.Errno, 0);
    EXPECT_NE(StorageErrorText(e).find("/sys/sfigmo-test.pul"), std::string::npos);
    EXPECT_FALSE(fs::exists("/sys/sfigmo-test.pul"));
    return;
  }
  TempDir dir;
  const fs::path file = dir.path() / "keep.pul";
  auto old = NoiseRecord(5);
  ASSERT_TRUE(WriteRecord(file, *old).ok());
  fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
  const StorageError e = WriteRecord(file, *rec);
  fs::permissions(dir.path(), fs::perms::owner_all);
  EXPECT_EQ(e.Failure, StorageFailure::Open);
  EXPECT_EQ(e.Errno, EACCES);
  EXPECT_NE(StorageErrorText(e).find("нет прав доступа"), std::string::npos);
  // The old record is intact and no temporary file is left.
  const auto bytes = FileBytes(file);
  ASSERT_EQ(bytes.size(), kRecordSize);
  EXPECT_EQ(std::memcmp(bytes.data(), old.get(), kRecordSize), 0);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(RecordFile, FailedRenameRemovesTheTemporaryFile) {
  TempDir dir;
  // The target is a folder that is not empty: the temporary file is written
  // whole, then the rename fails and must not leave it behind.
  fs::create_directory(dir.path() / "busy.pul");
  std::ofstream(dir.path() / "busy.pul" / "inside") << "x";
  auto rec = NoiseRecord(9);
  const StorageError e = WriteRecord(dir.path() / "busy.pul", *rec);
  EXPECT_EQ(e.Failure, StorageFailure::Rename);
  EXPECT_NE(StorageErrorText(e).find("busy.pul"), std::string::npos);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(RecordFile, ReplacingAFileGoesThroughATemporaryOne) {
  TempDir dir;
  const fs::path file = dir.path() / "same.pul";
  auto first = NoiseRecord(7);
  ASSERT_TRUE(WriteRecord(file, *first).ok());
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  // A reader holding the old file keeps seeing the old record whole: the new
  // one arrives by rename, never by rewriting in place.
  std::ifstream held(file, std::ios::binary);
  auto second = NoiseRecord(8);
  ASSERT_TRUE(WriteRecord(file, *second).ok());
  std::vector<std::uint8_t> old((std::istreambuf_iterator<char>(held)),
                                std::istreambuf_iterator<char>());
  ASSERT_EQ(old.size(), kRecordSize);
  EXPECT_EQ(std::memcmp(old.data(), first.get(), kRecordSize), 0);
  EXPECT_EQ(std::memcmp(FileBytes(file).data(), second.get(), kRecordSize), 0);
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(RecordFile, RecordFromBytesNeedsAWholeRecord) {
  std::vector<std::uint8_t> bytes(kRecordSize, 0);
  bytes[344] = 0xFF;
  bytes[345] = 0xFF;  // SampleCount 65535 from a damaged file
  auto rec = std::make_unique<PulsogramRecord>();
  EXPECT_FALSE(RecordFromBytes(std::span(bytes).first(kRecordSize - 1), *rec));
  ASSERT_TRUE(RecordFromBytes(bytes, *rec));
  EXPECT_EQ(rec->SampleCount, 65535);
  EXPECT_EQ(UsableSampleCount(*rec), kMaxSamples);
}

}  // namespace
}  // namespace sfigmo
