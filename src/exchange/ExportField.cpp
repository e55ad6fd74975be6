#include "exchange/ExportField.h"

QList<ExportField> ExportField::ticked(const QList<field_choice::Entry> &entries) {
  QList<ExportField> fields;
  for (int k = 0; k < entries.size(); ++k)
    if (entries[k].ticked)
      fields.append({k, entries[k].text});
  return fields;
}
