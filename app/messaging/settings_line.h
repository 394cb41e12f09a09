#pragma once
// The SMS sender's settings line (first line of telport.txt): the whole line
// is the sender's parameter text; characters 8-13 hold the phone's port and
// characters 14-25 the doctor's number. Everything else passes through
// unchanged. Characters are counted from 1, as the file's users count them.
// Pure functions, any thread.

#include <QString>
#include <QStringList>

namespace sfigmo {

inline constexpr int kNumberFieldLength = 12;
// Shortest line that holds both fields.
inline constexpr int kSettingsLineMinLength = 25;

// Characters 8-13 (fewer, or none, on a shorter line).
QString SettingsPort(const QString& line);
// Characters 14-25 (fewer, or none, on a shorter line).
QString SettingsNumber(const QString& line);

// The number as it will be recorded: its first 12 characters.
QString CutNumber(const QString& number);

// Digits an international number has after its "+".
inline constexpr int kMinNumberDigits = 10;
inline constexpr int kMaxNumberDigits = 11;

// Why a number may not be recorded.
enum class NumberRefusal {
  None,          // it may
  Empty,         // nothing typed
  TooLong,       // more than 11 digits
  BadCharacter,  // anything but a leading "+" and digits
  NoPlus,        // digits only: the sender needs the international form
  TooShort,      // fewer than 10 digits
};

// Whether `number` may be recorded: "+" followed by 10 to 11 digits, as the
// sender dials it; a blank or any other character would also break the
// parameter line.
NumberRefusal CheckNumber(const QString& number);

// `number` (cut to 12, padded with blanks to 12) put at position 14 in place
// of the number there, so the text after it keeps its place. A line damaged
// by an earlier unpadded number (the text after it moved left or glued to
// it) gets its blank and option dash back. On a line shorter than 13
// characters the number goes at its end.
QString ReplaceNumber(const QString& line, const QString& number);

// Characters 8-13 replaced by `port` padded with blanks to six characters;
// a shorter line is padded with blanks first.
QString ReplacePort(const QString& line, const QString& port);

// The line as a program's arguments: split on blanks and tabs.
QStringList SettingsArguments(const QString& line);

}  // namespace sfigmo
