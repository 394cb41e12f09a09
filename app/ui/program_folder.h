#pragma once
// Where the archive lives: the executable's folder when it is writable (a
// portable install, the build tree), else $XDG_DATA_HOME/sfigmo/. An
// installed program folder carries the marker file kInstalledMarker and is
// never written, whoever runs the program. The DataMLT/ and DataMLT/DatInt/
// folders are created when missing, and the program's own temporary files
// that an interrupted write left there more than a minute ago are removed.

#include <QString>

namespace sfigmo {

// Put beside the executable by the install rules.
inline constexpr char kInstalledMarker[] = "installed.txt";

// The folder with a trailing '/', its archive folders created.
QString DefaultProgramFolder();
// The given folder with a trailing '/', its archive folders created.
QString PrepareProgramFolder(const QString& folder);

}  // namespace sfigmo
