#pragma once
// A fresh folder under the system's temporary folder, removed with all it
// holds (made writable again first) when the object goes; what a file there
// holds.

#include <filesystem>
#include <string>

namespace sfigmo::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// The file's bytes; empty when it cannot be read.
std::string FileBytes(const std::filesystem::path& file);

}  // namespace sfigmo::test
