#include "storage/stale_temporaries.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "storage/record_file.h"

namespace sfigmo {
namespace {

constexpr std::size_t kRandomLength = 6;

bool AllAlnum(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isalnum(c) != 0; });
}

// Six random letters and digits rarely form a word: a mix of digits or of
// letter cases tells them from one.
bool LooksRandom(std::string_view s) {
  if (s.size() != kRandomLength || !AllAlnum(s)) return false;
  const auto has = [&](int (*test)(int)) {
    return std::any_of(s.begin(), s.end(), [&](unsigned char c) { return test(c) != 0; });
  };
  return has(&isdigit) || (has(&isupper) && has(&islower));
}

bool EndsWith(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

}  // namespace

bool IsProgramTemporaryName(const std::string& name) {
  const std::string_view n(name);
  const std::string_view prefix(kTemporaryPrefix);
  if (n.size() == prefix.size() + kRandomLength && n.substr(0, prefix.size()) == prefix)
    return AllAlnum(n.substr(prefix.size()));

  if (n.size() <= kRandomLength + 1 || n[n.size() - kRandomLength - 1] != '.') return false;
  const std::string_view random = n.substr(n.size() - kRandomLength);
  const std::string_view target = n.substr(0, n.size() - kRandomLength - 1);
  if (!LooksRandom(random)) return false;
  if (target == "telport.txt" || target == "sms.txt") return true;
  if (target.size() > 5 && target[0] == '.' && EndsWith(target, ".pul")) return true;
  return target.size() > 4 && target[0] != '.' && EndsWith(target, ".pdf");
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
