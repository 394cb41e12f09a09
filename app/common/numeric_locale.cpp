#include "common/numeric_locale.h"

#include <langinfo.h>
#include <locale.h>

#include <cstring>

namespace sfigmo {

char UserDecimalSeparator() {
  // newlocale reads LC_ALL / LC_NUMERIC / LANG like setlocale(…, "") but
  // leaves the global locale alone, so printf and friends stay in "C".
  locale_t loc = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
  if (loc == static_cast<locale_t>(nullptr)) return '.';
  const char* radix = nl_langinfo_l(RADIXCHAR, loc);
  char sep = '.';
  if (radix != nullptr && std::strlen(radix) == 1) sep = radix[0];
  freelocale(loc);
  return sep;
}

}  // namespace sfigmo
