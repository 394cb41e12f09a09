#include "storage/record_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace sfigmo {
namespace {

StorageError Failed(StorageFailure failure, const std::filesystem::path& path, int err = errno) {
  StorageError e;
  e.Failure = failure;
  e.Errno = err;
  e.Path = path;
  return e;
}

// Reads up to `size` bytes, riding out short reads and EINTR.
ssize_t ReadFully(int fd, void* buffer, std::size_t size) {
  std::size_t done = 0;
  auto* bytes = static_cast<char*>(buffer);
  while (done < size) {
    const ssize_t n = ::read(fd, bytes + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  return static_cast<ssize_t>(done);
}

bool WriteFully(int fd, const void* buffer, std::size_t size) {
  std::size_t done = 0;
  const auto* bytes = static_cast<const char*>(buffer);
  while (done < size) {
    const ssize_t n = ::write(fd, bytes + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// A step that the test's fault hook fails sets errno as the call would have.
bool Faulted(const WriteFault& fault, WriteStep step) {
  if (!fault) return false;
  const int err = fault(step);
  if (err == 0) return false;
  errno = err;
  return true;
}

}  // namespace

std::string FileErrorReason(int err) {
  switch (err) {
    case ENOENT:
      return "файл или папка не найдены";
    case EACCES:
    case EPERM:
      return "нет прав доступа";
    case ENOSPC:
      return "нет места на диске";
    case EDQUOT:
      return "превышена дисковая квота";
    case EROFS:
      return "диск доступен только для чтения";
    case EISDIR:
      return "это папка, а не файл";
    case ENODEV:
      return "это не обычный файл";
    case ENOTDIR:
      return "часть пути не является папкой";
    case ENAMETOOLONG:
      return "слишком длинное имя файла";
    case EIO:
      return "ошибка ввода-вывода";
    case EFBIG:
      return "превышен предел размера файла";
    case EMFILE:
    case ENFILE:
      return "открыто слишком много файлов";
    case EPIPE:
      return "читающая программа закрыла канал";
    case ENXIO:
      return "устройство не подключено";
    case EBUSY:
    case ETXTBSY:
      return "файл занят";
    case ELOOP:
      return "слишком много символьных ссылок подряд";
    case EINVAL:
      return "файл не принимает запись";
    case EAGAIN:
      return "устройство временно недоступно";
    default:
      return "системная ошибка " + std::to_string(err) + " (" + std::strerror(err) + ")";
  }
}

bool RecordFromBytes(std::span<const std::uint8_t> bytes, PulsogramRecord& record) {
  if (bytes.size() < kRecordSize) return false;
  std::memcpy(&record, bytes.data(), kRecordSize);
  return true;
}

namespace {

// The first kRecordSize bytes of `path` into `bytes`; only a success fills
// all of them.
StorageError ReadRecordBytes(const std::filesystem::path& path, void* bytes) {
  // O_NONBLOCK: a FIFO named like a record must not hang an archive scan.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return Failed(StorageFailure::Open, path);
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    const int err = S_ISDIR(st.st_mode) ? EISDIR : ENODEV;
    ::close(fd);
    return Failed(StorageFailure::Open, path, err);
  }
  const ssize_t got = ReadFully(fd, bytes, kRecordSize);
  const int readErr = errno;
  const bool closed = ::close(fd) == 0;
  if (got < 0) return Failed(StorageFailure::Read, path, readErr);
  if (static_cast<std::size_t>(got) < kRecordSize) {
    StorageError e = Failed(StorageFailure::TooShort, path, 0);
    e.BytesFound = static_cast<std::uintmax_t>(got);
    return e;
  }
  if (!closed) return Failed(StorageFailure::Close, path);
  return {};
}

}  // namespace

StorageError ReadRecord(const std::filesystem::path& path, PulsogramRecord& record) {
  // Into a scratch record first: the caller's only changes when the whole
  // read succeeded. Every byte of it is read before it is used, so it is
  // not cleared beforehand.
  const auto scratch = std::make_unique_for_overwrite<PulsogramRecord>();
  StorageError error = ReadRecordBytes(path, scratch.get());
  if (error.ok()) record = *scratch;
  return error;
}

StorageError ReadRecordInPlace(const std::filesystem::path& path, PulsogramRecord& record) {
  return ReadRecordBytes(path, &record);
}

std::filesystem::path TemporaryTemplate(const std::filesystem::path& folder) {
  // Short whatever the target's name: a name at the file system's limit
  // would leave no room for a prefix and a suffix.
  return folder / (std::string(kTemporaryPrefix) + "XXXXXX");
}

StorageError WriteRecord(const std::filesystem::path& path, const PulsogramRecord& record,
                         const WriteFault& fault) {
  PulsogramRecord out = record;
  out.Results.Reserved = 0.0;
  return WriteWholeFile(path, std::span(reinterpret_cast<const std::uint8_t*>(&out), kRecordSize),
                        fault);
}

StorageError WriteWholeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                            const WriteFault& fault) {
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
  std::string tmpl = TemporaryTemplate(folder).string();
  if (Faulted(fault, WriteStep::CreateTemporary)) return Failed(StorageFailure::Open, path);
  const int fd = ::mkostemp(tmpl.data(), O_CLOEXEC);
  if (fd < 0) return Failed(StorageFailure::Open, path);

  // mkostemp makes the file private; a record is an ordinary document.
  struct stat st {};
  const mode_t mode = ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
  ::fchmod(fd, mode);

  auto abandon = [&](StorageFailure failure) {
    const int err = errno;
    ::close(fd);
    ::unlink(tmpl.c_str());
    return Failed(failure, path, err);
  };
  if (Faulted(fault, WriteStep::Write) || !WriteFully(fd, bytes.data(), bytes.size())) {
    return abandon(StorageFailure::Write);
  }
  if (Faulted(fault, WriteStep::Sync) || ::fsync(fd) != 0) return abandon(StorageFailure::Write);
  if (Faulted(fault, WriteStep::Close)) {
    const int err = errno;
    ::close(fd);
    ::unlink(tmpl.c_str());
    return Failed(StorageFailure::Close, path, err);
  }
  if (::close(fd) != 0) {
    const int err = errno;
    ::unlink(tmpl.c_str());
    return Failed(StorageFailure::Close, path, err);
  }
  if (Faulted(fault, WriteStep::Rename) || ::rename(tmpl.c_str(), path.c_str()) != 0) {
    const int err = errno;
    ::unlink(tmpl.c_str());
    return Failed(StorageFailure::Rename, path, err);
  }
  return {};
}

std::string StorageErrorText(const StorageError& error) {
  const std::string name = "«" + error.Path.string() + "»";
  switch (error.Failure) {
    case StorageFailure::None:
      return {};
    case StorageFailure::Open:
      return "Не удалось открыть файл " + name + ": " + FileErrorReason(error.Errno);
    case StorageFailure::Read:
      return "Ошибка чтения файла " + name + ": " + FileErrorReason(error.Errno);
    case StorageFailure::TooShort:
      return "Файл " + name + " не является записью пульсограммы: в нём " +
             std::to_string(error.BytesFound) + " байт вместо " + std::to_string(kRecordSize);
    case StorageFailure::Write:
      return "Ошибка записи файла " + name + ": " + FileErrorReason(error.Errno);
    case StorageFailure::Close:
      return "Ошибка при закрытии файла " + name + ": " + FileErrorReason(error.Errno);
    case StorageFailure::Rename:
      return "Не удалось сохранить файл " + name + ": " + FileErrorReason(error.Errno);
    case StorageFailure::Folder:
      if (error.Errno == EEXIST)
        return "Не удалось создать папку " + name + ": на её месте лежит файл с тем же именем";
      return "Нет доступа к папке " + name + ": " + FileErrorReason(error.Errno);
  }
  return {};
}

}  // namespace sfigmo
