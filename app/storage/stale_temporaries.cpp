#include "storage/stale_temporaries.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "storage/record_file.h"

namespace sfigmo {

bool IsProgramTemporaryName(const std::string& name) {
  // Only the marked name: earlier unmarked names ("telport.txt.XXXXXX" and
  // the like) cannot be told from a user's "telport.txt.261209" backup.
  constexpr std::size_t kRandomLength = 6;
  const std::string_view n(name);
  const std::string_view prefix(kTemporaryPrefix);
  if (n.size() != prefix.size() + kRandomLength || !n.starts_with(prefix)) return false;
  const std::string_view random = n.substr(prefix.size());
  return std::all_of(random.begin(), random.end(),
                     [](unsigned char c) { return std::isalnum(c) != 0; });
}

std::vector<std::string> RemoveStaleTemporaries(const std::filesystem::path& folder,
                                                std::chrono::seconds minAge,
                                                std::filesystem::file_time_type now) {
  namespace fs = std::filesystem;
  std::vector<std::string> removed;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (!IsProgramTemporaryName(name)) continue;
    std::error_code fileEc;
    // symlink_status: a link is never followed, let alone removed.
    if (!fs::is_regular_file(it->symlink_status(fileEc)) || fileEc) continue;
    const fs::file_time_type changed = fs::last_write_time(it->path(), fileEc);
    if (fileEc || now - changed < minAge) continue;
    if (fs::remove(it->path(), fileEc) && !fileEc) removed.push_back(name);
  }
  return removed;
}

std::vector<std::string> RemoveStaleTemporariesUnder(const std::filesystem::path& programFolder) {
  std::vector<std::string> removed;
  for (const std::filesystem::path& folder :
       {programFolder, programFolder / "DataMLT", programFolder / "DataMLT" / "DatInt",
        programFolder / "PDF"}) {
    for (std::string& name : RemoveStaleTemporaries(folder)) removed.push_back(std::move(name));
  }
  return removed;
}

}  // namespace sfigmo
