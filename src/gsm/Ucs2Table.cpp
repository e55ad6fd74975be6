#include "gsm/Ucs2Table.h"

namespace ucs2_table {

char16_t code(QChar c) {
  const char16_t u = c.unicode();
  const bool cyrillic = (u >= 0x0410 && u <= 0x044F) || u == 0x0401 || u == 0x0451;
  const bool printable = u >= 0x20 && u <= 0x7E;
  if (cyrillic || printable || u == 0x2116)
    return u;
  return 0x0020;
}

} // namespace ucs2_table
