#pragma once
// The stored date and time texts and the file name of a saved measurement,
// built from the record's header. Plain C++, no clock of its own: the
// caller passes the date and time parts, so tests can fix them.

#include <string>

#include "record/pulsogram_record.h"

namespace sfigmo {

// A local date and time as the calendar gives it (Year in full, Month 1-12).
struct DateTimeParts {
  int Year = 0;
  int Month = 0;
  int Day = 0;
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
};

// "26_12_07_": two-digit year, month and day, each followed by "_".
std::string StoredDateText(const DateTimeParts& when);
// "09_05_03": two-digit hour, minutes and seconds joined by "_".
std::string StoredTimeText(const DateTimeParts& when);

// Why a header cannot name a file.
enum class NameProblem {
  None,
  Separator,  // "/" would lead out of the archive folder
  Nul,        // the file system cannot hold a NUL character
  DotName,    // "." or ".." name folders, not files
};

struct SaveName {
  std::string Name;  // UTF-8, no folder
  NameProblem Problem = NameProblem::None;
};

// PatientName + PatientAge + PatientSex + DateText + TimeText + ".pul", run
// together as the fields are stored (already cut to their capacities).
SaveName BuildSaveName(const PulsogramRecord& record);

// The Russian message for a refused name (UTF-8).
std::string NameProblemText(const SaveName& name);

}  // namespace sfigmo
