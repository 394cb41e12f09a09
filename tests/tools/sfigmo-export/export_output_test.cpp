// Where the exports write: a full disk, devices and FIFOs, outputs that are
// records or inputs. A failed export keeps every old file and leaves no new
// part behind.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstring>

#include "export_support.h"

namespace sfigmo::test {
namespace {

namespace fs = std::filesystem;

// Two records in `dir`/in; the paths of the CSV and of an EDF made of them
// on a disk with room, to compare with.
struct Records {
  TempDir Dir;
  fs::path In = Dir / "in";
  std::string Csv, Edf;
  Records() {
    fs::create_directory(In);
    Save(In / "a.pul", *Calculated(RecordOf(NormalRestingWave())));
    Save(In / "b.pul", *RecordBuilder().Wave(NormalRestingWave()).Patient("Б").Build());
    EXPECT_EQ(RunExport({"csv", "-o", (Dir / "ref.csv").string(), In.string()}).ExitCode, 0);
    EXPECT_EQ(RunExport({"edf", "-o", (Dir / "ref").string(), In.string()}).ExitCode, 0);
    Csv = FileBytes(Dir / "ref.csv");
    Edf = FileBytes(Dir / "ref" / "a.edf");
  }
};

std::vector<std::string> Listing(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::recursive_directory_iterator(folder))
    names.push_back(e.path().string() + " " +
                    std::to_string(fs::is_regular_file(e) ? fs::file_size(e) : 0));
  std::sort(names.begin(), names.end());
  return names;
}

TEST(ExportOutput, FullDiskKeepsTheOldFilesAndSaysWhy) {
  if (::geteuid() != 0) GTEST_SKIP() << "mounting a small tmpfs needs root";
  Records r;
  const fs::path disk = r.Dir / "disk";
  fs::create_directories(disk);
  if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=256k") != 0)
    GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
  struct Unmount {
    fs::path Path;
    ~Unmount() { ::umount2(Path.c_str(), MNT_DETACH); }
  } unmount{disk};
  fs::create_directory(disk / "edf");
  SaveBytes(disk / "old.csv", "file,date\r\nold,2026-01-01\r\n");
  SaveBytes(disk / "edf" / "a.edf", "old edf");
  const int fill = ::open((disk / "fill").c_str(), O_WRONLY | O_CREAT, 0644);
  const std::string page(4096, 'x');
  while (::write(fill, page.data(), page.size()) > 0) {
  }
  ::close(fill);
  const std::vector<std::string> before = Listing(disk);

  const std::vector<std::vector<std::string>> cases = {
      {"csv", "-o", (disk / "old.csv").string(), r.In.string()},
      {"csv", "-o", (disk / "new.csv").string(), r.In.string()},
      {"edf", "-o", (disk / "edf").string(), r.In.string()},
  };
  for (const auto& args : cases) {
    SCOPED_TRACE(args[2]);
    const RunResult run = RunExport(args);
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_NE(run.Err.find("нет места на диске"), std::string::npos) << run.Err;
    EXPECT_EQ(Listing(disk), before);
  }
  EXPECT_EQ(FileBytes(disk / "old.csv"), "file,date\r\nold,2026-01-01\r\n");
  EXPECT_EQ(FileBytes(disk / "edf" / "a.edf"), "old edf");
}

// Devices and FIFOs are written into, stay what they are, and report their
// write errors; /dev/stdout carries the table to the caller.
TEST(ExportOutput, DevicesAndFifosAreWrittenIntoNeverReplaced) {
  Records r;
  RunResult run = RunExport({"csv", "-o", "/dev/stdout", r.In.string()});
  EXPECT_EQ(run.ExitCode, 0) << run.Err;
  EXPECT_EQ(run.Out, r.Csv);

  struct Case {
    const char* Name;
    mode_t Kind;
    dev_t Device;
    int Exit;
    const char* Error;
  };
  const Case cases[] = {{"fifo", S_IFIFO, 0, 0, ""},
                        {"null", S_IFCHR, makedev(1, 3), 0, ""},
                        {"full", S_IFCHR, makedev(1, 7), 1, "Ошибка записи в «"}};
  for (const Case& c : cases) {
    for (const bool edf : {false, true}) {
      SCOPED_TRACE(std::string(c.Name) + (edf ? " edf" : " csv"));
      TempDir out;
      const fs::path node = out / (edf ? "a.edf" : "t.csv");
      if (::mknod(node.c_str(), c.Kind | 0666, c.Device) != 0) {
        std::cout << "[ SKIPPED  ] " << c.Name << ": mknod needs root\n";
        continue;
      }
      // The read end held open, with room for the whole export, lets the
      // writer run to its end; a replaced FIFO leaves it empty.
      const int fifo = c.Kind == S_IFIFO ? ::open(node.c_str(), O_RDONLY | O_NONBLOCK) : -1;
      if (fifo >= 0) ::fcntl(fifo, F_SETPIPE_SZ, 1 << 20);
      run =
          RunExport({edf ? "edf" : "csv", "-o", (edf ? out.path() : node).string(), r.In.string()});
      std::string got;
      char buffer[4096];
      for (ssize_t n; fifo >= 0 && (n = ::read(fifo, buffer, sizeof buffer)) > 0;)
        got.append(buffer, n);
      if (fifo >= 0) ::close(fifo);
      EXPECT_EQ(run.ExitCode, c.Exit) << run.Err;
      EXPECT_NE(run.Err.find(c.Error), std::string::npos) << run.Err;
      if (c.Exit) {
        EXPECT_NE(run.Err.find("нет места на диске"), std::string::npos);
      }
      struct stat st {};
      ASSERT_EQ(::stat(node.c_str(), &st), 0);
      EXPECT_EQ(st.st_mode & S_IFMT, c.Kind);
      if (c.Kind == S_IFIFO) {
        EXPECT_EQ(got, edf ? r.Edf : r.Csv);
      }
    }
  }
}

TEST(ExportOutput, NeverWritesOverARecordOrAnInput) {
  Records r;
  const fs::path keep = r.In / "a.pul";
  const std::string record = FileBytes(keep);
  fs::create_hard_link(keep, r.Dir / "same.csv");
  fs::create_symlink(keep, r.Dir / "link.csv");
  fs::copy_file(keep, r.In / "c.edf");  // a record under another name
  struct Case {
    std::vector<std::string> Args;
    int Exit;
    const char* Reason;
  };
  const Case cases[] = {
      {{"csv", "-o", keep.string(), r.In.string()}, 2, ".pul"},
      {{"csv", "-o", (r.Dir / "New.PUL").string(), r.In.string()}, 2, ".pul"},
      {{"csv", "-o", (r.Dir / "same.csv").string(), keep.string()}, 2, "один из выгружаемых"},
      {{"csv", "-o", (r.Dir / "link.csv").string(), r.In.string()}, 2, ".pul"},
      {{"edf", "-o", r.In.string(), (r.In / "c.edf").string()}, 1, "один из выгружаемых"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Args[2]);
    const RunResult run = RunExport(c.Args);
    EXPECT_EQ(run.ExitCode, c.Exit);
    EXPECT_NE(run.Err.find(c.Reason), std::string::npos) << run.Err;
  }
  EXPECT_EQ(FileBytes(keep), record);
  EXPECT_EQ(FileBytes(r.In / "c.edf"), record);
  EXPECT_TRUE(fs::is_symlink(r.Dir / "link.csv"));
  EXPECT_FALSE(fs::exists(r.Dir / "New.PUL"));
}

TEST(ExportOutput, SeparatorIsCountedInCharacters) {
  Records r;
  const std::pair<const char*, const char*> cases[] = {
      {"ж", "только символ ASCII"}, {"жж", "ждёт один символ"}, {"", "ждёт один символ"}};
  for (const auto& [separator, reason] : cases) {
    const RunResult run = RunExport(
        {"csv", "--separator", separator, "-o", (r.Dir / "t.csv").string(), r.In.string()});
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_NE(run.Err.find(reason), std::string::npos) << separator << ": " << run.Err;
  }
}

}  // namespace
}  // namespace sfigmo::test
