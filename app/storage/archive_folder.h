#pragma once
// The archive on disk: DataMLT/ holds every saved measurement, and
// DataMLT/DatInt/ the last one alone (saved or opened), under the same file
// name. Plain C++; callable from any thread; nothing is held open.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "storage/record_file.h"
#include "storage/save_name.h"

namespace sfigmo {

// <programFolder>/DataMLT and <programFolder>/DataMLT/DatInt.
std::filesystem::path ArchiveFolder(const std::filesystem::path& programFolder);
std::filesystem::path LastMeasurementFolder(const std::filesystem::path& programFolder);

// True for a name ending in ".pul" (any letter case, as the archive may
// come from a system that does not keep it).
bool IsRecordFileName(const std::string& name);

// Bare file names (bytes as the file system holds them) of the record files
// in `folder`, unsorted. Only regular files are listed: a folder or a FIFO
// named like a record is no record. Error.Failure is Folder when the folder
// cannot be read (Names is then empty).
struct RecordListing {
  std::vector<std::string> Names;
  StorageError Error;
};
RecordListing ListRecordFiles(const std::filesystem::path& folder);

// The record file of the last-measurement folder: the newest when a crash
// left more than one; none when the folder holds no record.
std::optional<std::filesystem::path> FindLastRecord(const std::filesystem::path& lastFolder);

// Makes `record` the last measurement: writes it completely under `name`
// in `lastFolder` (temporary file, then rename), and only then removes the
// other record files there, so a failure at any step leaves the folder with
// the record it held before. A failed removal is not an error.
StorageError ReplaceLastRecord(const std::filesystem::path& lastFolder, const std::string& name,
                               const PulsogramRecord& record, const WriteFault& fault = {});

// True when `a` and `b` are one measurement whatever the registration
// fields (date, time, patient, note) say.
bool SameMeasurement(const PulsogramRecord& a, const PulsogramRecord& b);

// Saving a registered measurement: its name from the header, then the
// archive copy, then the last-measurement copy. A refused name stops before
// anything is written (Name.Problem set). A failure stops at that file;
// what was written before it stays.
//
// `halfSaved`: the same measurement as an earlier save that stopped after
// its archive copy wrote it. The retry then completes that save: an archive
// copy that already holds `record` is not written again, and the earlier
// copy under another name (the patient's details changed) is removed, so
// the archive keeps the measurement once.
struct SaveOutcome {
  SaveName Name;
  StorageError Error;
  // The archive copy was written; with an error this means the archive and
  // the last measurement now disagree.
  bool ArchiveWritten = false;
  bool ok() const { return Name.Problem == NameProblem::None && Error.ok(); }
};
SaveOutcome SaveMeasurement(const std::filesystem::path& programFolder,
                            const PulsogramRecord& record, const WriteFault& fault = {},
                            const PulsogramRecord* halfSaved = nullptr);

}  // namespace sfigmo
