// Where the exports write: a full disk keeps every old file and leaves no new
// part; devices and FIFOs are written into; records and inputs are never
// overwritten.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstring>
#include <set>

#include "export_support.h"

namespace sfigmo::test {
namespace {

namespace fs = std::filesystem;

// Two records in Dir/in, and what the exports make of them on a disk with room.
struct Records {
  TempDir Dir;
  fs::path In = Dir / "in";
  std::string Csv, Edf;
  Records() {
    fs::create_directory(In);
    Save(In / "a.pul", *Calculated(RecordOf(NormalRestingWave())));
    Save(In / "b.pul", *RecordBuilder().Wave(NormalRestingWave()).Patient("Б").Build());
    RunExport({"csv", "-o", (Dir / "ref.csv").string(), In.string()});
    RunExport({"edf", "-o", (Dir / "ref").string(), In.string()});
    Csv = FileBytes(Dir / "ref.csv");
    Edf = FileBytes(Dir / "ref" / "a.edf");
  }
};

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
  SaveBytes(disk / "old.csv", "old table");
  SaveBytes(disk / "edf" / "a.edf", "old edf");
  const int fill = ::open((disk / "fill").c_str(), O_WRONLY | O_CREAT, 0644);
  while (::write(fill, r.Csv.data(), r.Csv.size()) > 0) {
  }
  ::close(fill);
  auto listing = [&] { return std::set<fs::path>(fs::recursive_directory_iterator(disk), {}); };
  const std::set<fs::path> before = listing();
  for (const char* out : {"old.csv", "new.csv", "edf"}) {
    SCOPED_TRACE(out);
    const RunResult run = RunExport(
        {out == std::string("edf") ? "edf" : "csv", "-o", (disk / out).string(), r.In.string()});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_NE(run.Err.find("нет места на диске"), std::string::npos) << run.Err;
    EXPECT_EQ(listing(), before);
  }
  EXPECT_EQ(FileBytes(disk / "old.csv"), "old table");
  EXPECT_EQ(FileBytes(disk / "edf" / "a.edf"), "old edf");
}

// A FIFO and device nodes made in a scratch folder stay what they are, get
// the bytes and report their write errors; /dev/stdout reaches the caller.
TEST(ExportOutput, DevicesAndFifosAreWrittenIntoNeverReplaced) {
  Records r;
  RunResult run = RunExport({"csv", "-o", "/dev/stdout", r.In.string()});
  EXPECT_EQ(run.ExitCode, 0) << run.Err;
  EXPECT_EQ(run.Out, r.Csv);
  const std::tuple<mode_t, dev_t, int> cases[] = {
      {S_IFIFO, 0, 0}, {S_IFCHR, makedev(1, 3), 0}, {S_IFCHR, makedev(1, 7), 1}};  // null, full
  for (const auto& [kind, device, exit] : cases) {
    for (const bool edf : {false, true}) {
      SCOPED_TRACE(std::to_string(device) + (edf ? " edf" : " csv"));
      TempDir out;
      const fs::path node = out / (edf ? "a.edf" : "t.csv");
      if (::mknod(node.c_str(), kind | 0666, device) != 0) {
        std::cout << "[ SKIPPED  ] mknod: " << std::strerror(errno) << '\n';
        continue;
      }
      // The read end held open (the pipe holds a whole export) lets the
      // writer run to its end; a replaced FIFO would stay empty.
      const int fifo = kind == S_IFIFO ? ::open(node.c_str(), O_RDONLY | O_NONBLOCK) : -1;
      run =
          RunExport({edf ? "edf" : "csv", "-o", (edf ? out.path() : node).string(), r.In.string()});
      std::string got(1 << 16, '\0');
      got.resize(fifo >= 0 ? std::max<ssize_t>(::read(fifo, got.data(), got.size()), 0) : 0);
      if (fifo >= 0) ::close(fifo);
      EXPECT_EQ(run.ExitCode, exit) << run.Err;
      EXPECT_EQ(run.Err.find("Ошибка записи в «" + node.string()) != std::string::npos, exit);
      struct stat st {};
      ASSERT_EQ(::stat(node.c_str(), &st), 0);
      EXPECT_EQ(st.st_mode & S_IFMT, kind);
      if (fifo >= 0) {
        EXPECT_EQ(got, edf ? r.Edf : r.Csv);
      }
    }
  }
}

// Outputs that are records or inputs, and separators the table cannot hold.
TEST(ExportOutput, RefusedOutputsAndSeparatorsLeaveEveryFileAsItWas) {
  Records r;
  const fs::path keep = r.In / "a.pul";
  const std::string record = FileBytes(keep);
  fs::create_hard_link(keep, r.Dir / "same.csv");
  fs::create_symlink(keep, r.Dir / "link.csv");
  fs::copy_file(keep, r.In / "c.edf");  // a record under another name
  const std::string in = r.In.string(), csv = (r.Dir / "t.csv").string();
  const std::tuple<std::vector<std::string>, int, const char*> cases[] = {
      {{"csv", "-o", keep.string(), in}, 2, "это запись пульсограммы (.pul)"},
      {{"csv", "-o", (r.Dir / "New.PUL").string(), in}, 2, "это запись пульсограммы (.pul)"},
      {{"csv", "-o", (r.Dir / "same.csv").string(), keep.string()}, 2, "один из выгружаемых"},
      {{"csv", "-o", (r.Dir / "link.csv").string(), in}, 2, "это запись пульсограммы (.pul)"},
      {{"edf", "-o", in, (r.In / "c.edf").string()}, 1, "один из выгружаемых"},
      {{"csv", "--separator", "ж", "-o", csv, in}, 2, "только символ ASCII"},
      {{"csv", "--separator", "жж", "-o", csv, in}, 2, "ждёт один символ, а не «жж»"},
      {{"csv", "--separator", "", "-o", csv, in}, 2, "ждёт один символ"},
  };
  for (const auto& [args, exit, reason] : cases) {
    const RunResult run = RunExport(args);
    EXPECT_EQ(run.ExitCode, exit) << args[2];
    EXPECT_NE(run.Err.find(reason), std::string::npos) << args[2] << ": " << run.Err;
  }
  EXPECT_EQ(FileBytes(keep), record);
  EXPECT_EQ(FileBytes(r.In / "c.edf"), record);
  EXPECT_TRUE(fs::is_symlink(r.Dir / "link.csv"));
  EXPECT_FALSE(fs::exists(r.Dir / "New.PUL"));
  EXPECT_FALSE(fs::exists(csv));
}

}  // namespace
}  // namespace sfigmo::test
