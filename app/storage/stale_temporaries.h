#pragma once
// Leftovers of writes that were cut short between write and rename (the
// program killed, the machine switched off): the program's own temporary
// files, removed at start so they do not pile up in the archive. Nothing
// else is ever touched. Plain C++, any thread.

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace sfigmo {

// True for a name the program gives its temporary files: the marker
// ".sfigmo-tmp-" and six letters or digits. Nothing else, however much it
// looks like a leftover: a user's "sms.txt.old001" stays.
bool IsProgramTemporaryName(const std::string& name);

// Removes from `folder` (not its subfolders) the regular files whose names
// IsProgramTemporaryName accepts and that were last changed at least
// `minAge` before `now`: a younger one may belong to a write in progress in
// another copy of the program. Returns the names removed; failures to list
// or remove are ignored (the files are only clutter).
std::vector<std::string> RemoveStaleTemporaries(
    const std::filesystem::path& folder, std::chrono::seconds minAge = std::chrono::minutes(1),
    std::filesystem::file_time_type now = std::filesystem::file_time_type::clock::now());

// The same for every folder the program writes under `programFolder`: the
// folder itself (telport.txt, sms.txt), DataMLT, DataMLT/DatInt and PDF.
std::vector<std::string> RemoveStaleTemporariesUnder(const std::filesystem::path& programFolder);

}  // namespace sfigmo
