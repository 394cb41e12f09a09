#pragma once
// The decimal separator of the user's numeric locale (LC_NUMERIC from the
// environment), looked up without changing the process locale.

namespace sfigmo {

// ',' under ru_RU, '.' under C or en_US; '.' when the locale is unknown or
// its separator is not a single byte.
char UserDecimalSeparator();

}  // namespace sfigmo
