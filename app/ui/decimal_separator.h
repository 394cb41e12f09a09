#pragma once
// The decimal separator of every number the program shows, prints or sends.

#include "draw/display_settings.h"

namespace sfigmo {

// The user's: Qt's locale data for the language the environment names
// (LC_ALL, LC_NUMERIC, LANG), which needs no generated C library locale. A
// separator that is not one Latin-1 character gives '.'.
char ShownDecimalSeparator();

// The user's display settings as the program starts with them: the user's
// separator, the primary screen's width.
DisplaySettings UserDisplaySettings();

}  // namespace sfigmo
