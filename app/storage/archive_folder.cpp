#include "storage/archive_folder.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <system_error>

namespace sfigmo {
namespace {

namespace fs = std::filesystem;

StorageError FolderError(const fs::path& folder, const std::error_code& ec) {
  StorageError e;
  e.Failure = StorageFailure::Folder;
  e.Errno = ec.value() != 0 ? ec.value() : EIO;
  e.Path = folder;
  return e;
}

// Creates the folder when missing; the program expects both archive folders.
StorageError EnsureFolder(const fs::path& folder) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (!ec && fs::is_directory(folder, ec)) return {};
  // A file in the folder's place is its own cause, whatever the call said.
  std::error_code typeEc;
  if (fs::exists(fs::symlink_status(folder, typeEc)) && !fs::is_directory(folder, typeEc))
    ec = std::make_error_code(std::errc::file_exists);
  if (!ec) ec = std::make_error_code(std::errc::not_a_directory);
  return FolderError(folder, ec);
}

// True when `path` already holds `record` as WriteRecord would write it.
bool Holds(const fs::path& path, const PulsogramRecord& record) {
  auto stored = std::make_unique<PulsogramRecord>();
  if (!ReadRecord(path, *stored).ok()) return false;
  auto written = std::make_unique<PulsogramRecord>(record);
  written->Results.Reserved = 0.0;
  return std::memcmp(stored.get(), written.get(), kRecordSize) == 0;
}

}  // namespace

fs::path ArchiveFolder(const fs::path& programFolder) { return programFolder / "DataMLT"; }

fs::path LastMeasurementFolder(const fs::path& programFolder) {
  return ArchiveFolder(programFolder) / "DatInt";
}

bool IsRecordFileName(const std::string& name) {
  static constexpr std::string_view kSuffix = ".pul";
  if (name.size() <= kSuffix.size()) return false;
  const std::string_view tail = std::string_view(name).substr(name.size() - kSuffix.size());
  return std::equal(tail.begin(), tail.end(), kSuffix.begin(), [](char a, char b) {
    return (a >= 'A' && a <= 'Z' ? char(a - 'A' + 'a') : a) == b;
  });
}

RecordListing ListRecordFiles(const fs::path& folder) {
  RecordListing out;
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  if (ec) {
    out.Error = FolderError(folder, ec);
    return out;
  }
  for (const fs::directory_iterator end; it != end; it.increment(ec)) {
    std::string name = it->path().filename().string();
    std::error_code typeEc;
    // is_regular_file follows a link; d_type spares a stat for the rest.
    if (IsRecordFileName(name) && it->is_regular_file(typeEc)) out.Names.push_back(std::move(name));
  }
  if (ec) {
    out.Names.clear();
    out.Error = FolderError(folder, ec);
  }
  return out;
}

std::optional<fs::path> FindLastRecord(const fs::path& lastFolder) {
  const RecordListing listing = ListRecordFiles(lastFolder);
  std::optional<fs::path> best;
  fs::file_time_type bestTime{};
  for (const std::string& name : listing.Names) {
    const fs::path p = lastFolder / name;
    std::error_code ec;
    const fs::file_time_type t = fs::last_write_time(p, ec);
    if (ec) continue;
    if (!best || t > bestTime || (t == bestTime && p < *best)) {
      best = p;
      bestTime = t;
    }
  }
  return best;
}

StorageError ReplaceLastRecord(const fs::path& lastFolder, const std::string& name,
                               const PulsogramRecord& record, const WriteFault& fault) {
  if (StorageError e = EnsureFolder(lastFolder); !e.ok()) return e;
  if (StorageError e = WriteRecord(lastFolder / name, record, fault); !e.ok()) return e;
  for (const std::string& other : ListRecordFiles(lastFolder).Names) {
    if (other == name) continue;
    std::error_code ignored;
    fs::remove(lastFolder / other, ignored);
  }
  return {};
}

bool SameMeasurement(const PulsogramRecord& a, const PulsogramRecord& b) {
  auto registered = std::make_unique<PulsogramRecord>(a);
  std::memcpy(registered->DateText, b.DateText, sizeof b.DateText);
  std::memcpy(registered->TimeText, b.TimeText, sizeof b.TimeText);
  std::memcpy(registered->PatientName, b.PatientName, sizeof b.PatientName);
  std::memcpy(registered->PatientAge, b.PatientAge, sizeof b.PatientAge);
  std::memcpy(registered->PatientSex, b.PatientSex, sizeof b.PatientSex);
  std::memcpy(registered->GeneralInfo, b.GeneralInfo, sizeof b.GeneralInfo);
  registered->Results.Reserved = b.Results.Reserved;
  return std::memcmp(registered.get(), &b, kRecordSize) == 0;
}

SaveOutcome SaveMeasurement(const fs::path& programFolder, const PulsogramRecord& record,
                            const WriteFault& fault, const PulsogramRecord* halfSaved) {
  SaveOutcome out;
  out.Name = BuildSaveName(record);
  if (out.Name.Problem != NameProblem::None) return out;
  const fs::path archive = ArchiveFolder(programFolder);
  if (out.Error = EnsureFolder(archive); !out.Error.ok()) return out;
  const fs::path target = archive / out.Name.Name;
  // A retry finds its archive copy already there: it is not written again.
  if (!halfSaved || !Holds(target, record)) {
    if (out.Error = WriteRecord(target, record, fault); !out.Error.ok()) return out;
  }
  out.ArchiveWritten = true;
  if (halfSaved) {
    // The patient's details changed since: the earlier copy, under its
    // own name, would be the same measurement a second time.
    const SaveName earlier = BuildSaveName(*halfSaved);
    std::error_code ignored;
    if (earlier.Problem == NameProblem::None && earlier.Name != out.Name.Name &&
        Holds(archive / earlier.Name, *halfSaved))
      fs::remove(archive / earlier.Name, ignored);
  }
  out.Error = ReplaceLastRecord(LastMeasurementFolder(programFolder), out.Name.Name, record, fault);
  return out;
}

}  // namespace sfigmo
