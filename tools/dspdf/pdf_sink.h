#pragma once
// Where the PDF writer's bytes go: a temporary file beside the target,
// renamed into place only when every write, the flush to disk and the close
// succeeded. The first failure is remembered, so a writer that ignores a
// refused write (Qt's PDF engine does) still cannot leave a cut file that
// passes for a PDF. The system calls come through FileOps so that tests and
// the fuzzer can make any of them fail.

#include <sys/types.h>

#include <QIODevice>
#include <QString>
#include <string>

namespace dspdf {

struct FileOps {
  int (*makeTemporary)(char* nameTemplate) = nullptr;  // mkstemp-like: fd or -1
  ssize_t (*write)(int fd, const void* data, size_t size) = nullptr;
  int (*sync)(int fd) = nullptr;
  int (*close)(int fd) = nullptr;
  int (*rename)(const char* from, const char* to) = nullptr;
  int (*unlink)(const char* path) = nullptr;
};

// The system's calls.
FileOps SystemFileOps();

class PdfSink : public QIODevice {
 public:
  PdfSink(const QString& target, const FileOps& ops);
  ~PdfSink() override;  // an uncommitted temporary file is removed

  // Creates the temporary file and opens the device for writing.
  bool begin();
  // Flushes to disk, closes and renames into place; false (and nothing at
  // the target changed) when this or any earlier step failed.
  bool commit();
  // Removes the temporary file; the target stays as it was.
  void discard();

  int error() const { return errno_; }  // errno of the first failure, 0 if none

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override;

 private:
  void fail(int err);

  std::string target_;
  std::string temporary_;
  FileOps ops_;
  int fd_ = -1;
  int errno_ = 0;
};

}  // namespace dspdf
