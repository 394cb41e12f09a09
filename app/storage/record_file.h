#pragma once
// Reading and writing one PulsogramRecord as a .pul file (44136 bytes, no
// header). Failures come back as typed values; StorageErrorText turns one
// into the Russian line the user sees. Callable from any thread; nothing is
// held open between calls.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>

#include "record/pulsogram_record.h"

namespace sfigmo {

enum class StorageFailure {
  None,
  Open,      // the file (or the temporary file beside it) could not be opened
  Read,      // read(2) failed
  TooShort,  // fewer than 44136 bytes
  Write,     // write(2) or fsync(2) failed
  Close,
  Rename,  // the finished temporary file could not replace the target
  Folder,  // the folder could not be created or listed (EEXIST: a file lies in its place)
};

// The steps of a record write, in order, for tests that make one fail.
enum class WriteStep { CreateTemporary, Write, Sync, Close, Rename };
// Returns an errno to make that step fail as the system would, 0 to run it.
using WriteFault = std::function<int(WriteStep)>;

struct StorageError {
  StorageFailure Failure = StorageFailure::None;
  int Errno = 0;                  // errno of the failing call, 0 for TooShort
  std::filesystem::path Path;     // the record file the user asked for
  std::uintmax_t BytesFound = 0;  // TooShort: how many bytes the file had

  bool ok() const { return Failure == StorageFailure::None; }
};

// Reads the first 44136 bytes of `path` into `record`; a longer file is read
// as its first record. On failure `record` is left as it was.
StorageError ReadRecord(const std::filesystem::path& path, PulsogramRecord& record);

// The same straight into `record`, for a caller that reads many files into
// one record and drops it whenever a read fails: no scratch copy, but on
// failure `record` holds whatever part was read.
StorageError ReadRecordInPlace(const std::filesystem::path& path, PulsogramRecord& record);

// The same from memory (a fuzzer, a test). False when `bytes` is too short.
bool RecordFromBytes(std::span<const std::uint8_t> bytes, PulsogramRecord& record);

// Writes `record` to a temporary file in the target's folder and renames it
// into place, so a crash or a full disk never leaves a half-written record.
// `Reserved` is written as 0.0 whatever the buffer holds. An existing file
// keeps its permissions.
StorageError WriteRecord(const std::filesystem::path& path, const PulsogramRecord& record,
                         const WriteFault& fault = {});

// Any file written the same way: a temporary file beside it, renamed into
// place only when every byte is on disk. An existing file keeps its
// permissions; a new one gets 0644.
StorageError WriteWholeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                            const WriteFault& fault = {});

// Every temporary file of the program starts with this and ends in six
// random letters or digits: a marker no user types, so that the start-up
// sweep can never take a user's backup copy for one. The whole name is
// short so that it fits beside a target whose name is at the file system's
// limit.
inline constexpr const char* kTemporaryPrefix = ".sfigmo-tmp-";

// `folder` / ".sfigmo-tmp-XXXXXX", as mkstemp(3) wants it.
std::filesystem::path TemporaryTemplate(const std::filesystem::path& folder);

// The reason part of a message for an errno value, in Russian.
std::string FileErrorReason(int err);

// "Не удалось открыть файл «…»: файл или папка не найдены" and so on (UTF-8).
std::string StorageErrorText(const StorageError& error);

}  // namespace sfigmo
