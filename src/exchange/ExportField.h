#pragma once
// One field the operator ticked for an export: its column in the contact list (entry k of
// the field choice stands for column k) and its name as the field list shows it.
#include "exchange/FieldChoice.h"

#include <QList>
#include <QString>

struct ExportField {
  int column;
  QString title;

  // The ticked entries, in list order.
  static QList<ExportField> ticked(const QList<field_choice::Entry> &entries);
};
