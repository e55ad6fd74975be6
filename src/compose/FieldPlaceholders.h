#pragma once
// The placeholder table: which five-character codes of a template stand for which column of
// the contact query. Both come from the field descriptors (RB_FIELDS), read in table order,
// so the position of a descriptor row is also the index of its column in the query whose
// column list GetListFields gives.
#include "common/MasNameValue.h"

#include <QList>
#include <QString>

class Attachment;

// One entry of the field menu: a descriptor row that may be used in templates.
struct FieldMenuEntry {
  QString name;       // "MI_" + NAMEDISP
  QString captionKey; // NAMEDISP: the key of the display name in section [Fields]
  int tag = 0;        // position of the descriptor row + 1
};

struct FieldPlaceholders {
  TMasNameValue table; // (position of the row, FORTEMP) for each row with TEMPL = 1
  QList<FieldMenuEntry> menu;
};

// Reads every descriptor row once (start-up step of the main window).
FieldPlaceholders readFieldPlaceholders(Attachment &db);

// The column list of the contact query: every descriptor's NAMEDS in table order joined
// with ", ", then ", ID"; empty when there are no descriptors.
QString GetListFields(Attachment &db);

// The process-wide placeholder table, built once when the main window is created and read
// by every generation of messages (the dispatch worker included).
TMasNameValue &placeholderTable();
