#pragma once
// What the contacts page shows: the fixed columns of the contacts grid with their starting
// widths, their titles from the language file, their visibility from the field descriptors
// (RB_FIELDS through IBFields), and the status words of the dispatch outcome.
#include <QList>
#include <QString>
#include <QVariant>

#include <optional>

class DataSet;

namespace contact_grid {

struct Column {
  QString field;
  int width; // starting width in pixels; 0 keeps the view's default
};

// The twelve shown columns of CONTACTS, in grid order; column k is described by the
// descriptor row with ID k + 1.
const QList<Column> &columns();

// The groups grid shows NAME only, this wide.
inline constexpr int groupsNameWidth = 115;

// Title of a contacts grid column: section [Fields], key "DS" + field; empty when missing.
QString columnTitle(const QString &lang, const QString &field);
// Title of the groups grid's column: section [Fields], key "DSGROUPS".
QString groupsTitle(const QString &lang);

// Whether the descriptor row of field (NAMEDS equal, case-sensitive) wants the column
// shown: FVISIBLE 1 shows it, any other value or NULL hides it. Empty when no row
// describes the field. Moves the current row of the descriptor data set.
std::optional<bool> descriptorVisible(DataSet &fields, const QString &field);

// The word drawn in place of a SEND or FERROR value (a NULL reads as 0): SEND 1 "Да",
// 2 "Нет", 3 "Доставлено"; FERROR 0 "Нет". An invalid QVariant when the plain value shows.
QVariant statusWord(const QString &field, const QVariant &value);

} // namespace contact_grid
