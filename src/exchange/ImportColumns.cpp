#include "exchange/ImportColumns.h"

QString ImportColumns::contactColumn(Field field) {
  static const char *const names[fieldCount] = {"PHONE",  "NAME",   "BIRTHDATE", "DFIELD",
                                                "EFIELD", "FFIELD", "GFIELD"};
  return QString::fromLatin1(names[field]);
}

ImportColumns ImportColumns::defaults(int gridColumns) {
  ImportColumns c;
  for (int f = 0; f < fieldCount; ++f)
    c.column[f] = f < gridColumns ? f : none;
  return c;
}

int ImportColumns::choice(int n) const {
  return n >= 1 && n <= fieldCount ? column[n - 1] : none;
}

void ImportColumns::setChoice(int n, int columnIndex) {
  if (n >= 1 && n <= fieldCount)
    column[n - 1] = columnIndex < 0 ? none : columnIndex;
}
