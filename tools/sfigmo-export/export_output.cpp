#include "export_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <span>

#include "storage/record_file.h"

namespace sfigmo {
namespace {

namespace fs = std::filesystem;

std::string Quoted(const fs::path& p) { return "«" + p.string() + "»"; }

OutputResult Failed(std::string text, int err) { return {std::move(text), err}; }

bool IsRecordName(const fs::path& p) {
  std::string ext = p.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext == ".pul";
}

// Whether following the name's links leads through /proc, where /dev/stdout
// and /dev/fd/N end: such a name stands for a descriptor this process was
// given (a pipe, a terminal, a log opened for appending) and is written
// through, never replaced by a file of the same name.
bool ThroughProcessDescriptors(fs::path p) {
  std::error_code ec;
  for (int hop = 0; hop < 40; ++hop) {
    const fs::path folder = fs::weakly_canonical(fs::absolute(p, ec).parent_path(), ec);
    if (folder.string().starts_with("/proc/")) return true;
    if (!fs::is_symlink(p, ec)) return false;
    const fs::path to = fs::read_symlink(p, ec);
    if (ec) return false;
    p = to.is_absolute() ? to : p.parent_path() / to;
  }
  return false;
}

// Every byte into an existing device, FIFO or descriptor's file. O_APPEND:
// a log behind /dev/stdout keeps what it holds.
OutputResult WriteInto(const fs::path& target, std::string_view bytes) {
  const int fd = ::open(target.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    const int err = errno;
    return Failed("Не удалось открыть " + Quoted(target) + ": " + FileErrorReason(err), err);
  }
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const int err = n < 0 ? errno : EIO;
      ::close(fd);
      return Failed("Ошибка записи в " + Quoted(target) + ": " + FileErrorReason(err), err);
    }
    done += static_cast<std::size_t>(n);
  }
  if (::close(fd) != 0 && errno != EINTR) {
    const int err = errno;
    return Failed("Ошибка записи в " + Quoted(target) + ": " + FileErrorReason(err), err);
  }
  return {};
}

// A new file, or a regular file replaced at `real` (its links resolved, so
// that a link keeps pointing at it).
OutputResult Replace(const fs::path& shown, const fs::path& real, std::string_view bytes) {
  StorageError e = WriteWholeFile(
      real, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  if (e.ok()) return {};
  e.Path = shown;
  return Failed(StorageErrorText(e), e.Errno);
}

}  // namespace

InputFiles::InputFiles(const std::vector<fs::path>& files) {
  for (const fs::path& file : files) {
    struct stat st {};
    if (::stat(file.c_str(), &st) == 0) ids_.emplace(st.st_dev, st.st_ino);
    std::error_code ec;
    paths_.insert(fs::weakly_canonical(file, ec));
  }
}

bool InputFiles::Holds(const fs::path& target) const {
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0 && ids_.contains({st.st_dev, st.st_ino})) return true;
  std::error_code ec;
  return paths_.contains(fs::weakly_canonical(target, ec));
}

std::string OutputRefusal(const fs::path& target, const InputFiles& inputs) {
  std::error_code ec;
  const fs::path real = fs::weakly_canonical(target, ec);
  if (IsRecordName(target) || IsRecordName(real)) {
    return "Файл " + Quoted(target) + " не будет перезаписан: это запись пульсограммы (.pul)";
  }
  if (inputs.Holds(target)) {
    return "Файл " + Quoted(target) + " не будет перезаписан: это один из выгружаемых файлов";
  }
  return {};
}

bool OutputResult::DiskFailure() const {
  return Errno == ENOSPC || Errno == EDQUOT || Errno == EROFS;
}

OutputResult WriteOutput(const fs::path& target, std::string_view bytes) {
  if (ThroughProcessDescriptors(target)) return WriteInto(target, bytes);
  struct stat st {};
  if (::stat(target.c_str(), &st) != 0) {
    const int err = errno;
    struct stat link {};
    if (err == ENOENT && ::lstat(target.c_str(), &link) == 0) {
      // A dangling link: a file made through it would land somewhere the
      // user did not name, and renaming over it would drop the link.
      return Failed(
          "Не удалось записать " + Quoted(target) + ": ссылка ведёт на несуществующий файл", err);
    }
    if (err != ENOENT)
      return Failed("Не удалось открыть " + Quoted(target) + ": " + FileErrorReason(err), err);
    return Replace(target, target, bytes);
  }
  if (S_ISREG(st.st_mode)) {
    std::error_code ec;
    const fs::path real = fs::canonical(target, ec);
    if (ec) {
      return Failed("Не удалось открыть " + Quoted(target) + ": " + FileErrorReason(ec.value()),
                    ec.value());
    }
    return Replace(target, real, bytes);
  }
  if (S_ISCHR(st.st_mode) || S_ISFIFO(st.st_mode)) return WriteInto(target, bytes);
  // A folder, a socket or a block device (a disk a typo would overwrite).
  const int err = S_ISDIR(st.st_mode) ? EISDIR : ENODEV;
  return Failed("Не удалось записать " + Quoted(target) + ": " + FileErrorReason(err), err);
}

}  // namespace sfigmo
