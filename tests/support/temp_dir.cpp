#include "temp_dir.h"

#include <unistd.h>

#include <fstream>
#include <iterator>

namespace sfigmo::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::string tmpl = (fs::temp_directory_path() / "sfigmo-test-XXXXXX").string();
  path_ = ::mkdtemp(tmpl.data());
}

TempDir::~TempDir() {
  std::error_code ec;
  // A test may have taken the owner's rights away to make writing fail.
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

std::string FileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace sfigmo::test
