#pragma once
// Where an export's bytes go. A regular file, or a new one, is replaced
// whole: a temporary file beside it is renamed into place only once every
// byte is on disk, so a full disk leaves the old file as it was and no part
// of the new one. A character device or a FIFO (also "-o /dev/stdout") is
// written straight into; nothing but a regular file is ever renamed over.
// Failures come back as the Russian line the user sees (UTF-8). Any thread.

#include <sys/types.h>

#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sfigmo {

// The record files an export reads, so that it never writes over one.
class InputFiles {
 public:
  explicit InputFiles(const std::vector<std::filesystem::path>& files);
  // Whether `target` is one of them under any name: the same device and
  // inode, or the same canonical path.
  bool Holds(const std::filesystem::path& target) const;

 private:
  std::set<std::pair<dev_t, ino_t>> ids_;
  std::set<std::filesystem::path> paths_;
};

// Why `target` must not be written: it is one of the inputs, or a record
// file (.pul) whatever it holds now. Empty when it may be written.
std::string OutputRefusal(const std::filesystem::path& target, const InputFiles& inputs);

struct OutputResult {
  std::string Error;  // empty when every byte was written
  int Errno = 0;

  bool ok() const { return Error.empty(); }
  // The disk is full, over quota or read-only: the next file would fail alike.
  bool DiskFailure() const;
};

OutputResult WriteOutput(const std::filesystem::path& target, std::string_view bytes);

}  // namespace sfigmo
