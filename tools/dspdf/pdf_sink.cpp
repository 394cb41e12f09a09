#include "pdf_sink.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <cstdlib>

namespace dspdf {

namespace {
int MakeTemporary(char* nameTemplate) { return ::mkostemp(nameTemplate, O_CLOEXEC); }
}  // namespace

FileOps SystemFileOps() {
  FileOps ops;
  ops.makeTemporary = &MakeTemporary;
  ops.write = &::write;
  ops.sync = &::fsync;
  ops.close = &::close;
  ops.rename = &::rename;
  ops.unlink = &::unlink;
  return ops;
}

PdfSink::PdfSink(const QString& target, const FileOps& ops)
    : target_(QFile::encodeName(target).toStdString()), ops_(ops) {}

PdfSink::~PdfSink() { discard(); }

void PdfSink::fail(int err) {
  if (errno_ == 0) errno_ = err != 0 ? err : EIO;
}

bool PdfSink::begin() {
  // The same short name as the program's other temporary files: it fits
  // beside a target whose name is at the file system's limit, and the
  // program's start-up sweep knows it.
  const std::string::size_type slash = target_.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : target_.substr(0, slash);
  std::string name = (folder.empty() ? std::string() : folder) + "/.sfigmo-tmp-XXXXXX";
  const int fd = ops_.makeTemporary(name.data());
  if (fd < 0) {
    fail(errno);
    return false;
  }
  fd_ = fd;
  temporary_ = name;
  // mkstemp makes the file private; a PDF is an ordinary document.
  ::fchmod(fd_, 0644);
  return QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 PdfSink::writeData(const char* data, qint64 size) {
  if (fd_ < 0 || errno_ != 0) return -1;
  qint64 done = 0;
  while (done < size) {
    const ssize_t n = ops_.write(fd_, data + done, static_cast<size_t>(size - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      fail(n < 0 ? errno : ENOSPC);  // no progress on a regular file: the disk is full
      return -1;
    }
    done += n;
  }
  return done;
}

bool PdfSink::commit() {
  if (fd_ < 0) return false;
  QIODevice::close();
  if (errno_ == 0 && ops_.sync(fd_) != 0) fail(errno);
  const int fd = fd_;
  fd_ = -1;
  if (ops_.close(fd) != 0) fail(errno);
  if (errno_ == 0 && ops_.rename(temporary_.c_str(), target_.c_str()) != 0) fail(errno);
  if (errno_ != 0) {
    ops_.unlink(temporary_.c_str());
    temporary_.clear();
    return false;
  }
  temporary_.clear();
  return true;
}

void PdfSink::discard() {
  if (isOpen()) QIODevice::close();
  if (fd_ >= 0) {
    ops_.close(fd_);
    fd_ = -1;
  }
  if (!temporary_.empty()) {
    ops_.unlink(temporary_.c_str());
    temporary_.clear();
  }
}

}  // namespace dspdf
