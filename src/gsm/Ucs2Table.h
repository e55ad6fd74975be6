#pragma once
// The UCS-2 table of message texts: Russian letters, printable ASCII and the numero sign keep
// their Unicode codes; every other character goes out as a blank (0020).
#include <QChar>

namespace ucs2_table {

char16_t code(QChar c);

} // namespace ucs2_table
