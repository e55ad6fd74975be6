#pragma once
// The field list of the field choice dialog: one entry per descriptor row of RB_FIELDS,
// in the order the data set returns them (the order of ID), so entry k stands for the row
// with ID k + 1 and for column k of the contacts grid.
#include <QList>
#include <QString>

#include <functional>

class Attachment;
class DataSet;

namespace field_choice {

// What the dialog does on OK; the value is the main window's ListVisMode.
enum class Mode { Csv = 1, Spreadsheet = 2, Visibility = 3 };

struct Entry {
  QString text; // [Fields] <NAMEDISP> of the language file, empty when missing
  bool ticked;
};

// Closes and reopens the descriptor data set, then lists its rows. In the visibility mode an
// entry is ticked exactly when its FVISIBLE is 1; in the export modes every entry is ticked.
// A data set that does not open gives an empty list.
QList<Entry> loadEntries(DataSet &fields, const QString &lang, Mode mode);

// Stores the visibility ticks: for each entry k in order, showColumn(k, ticked) and then
// FVISIBLE of the row with ID k + 1 := 1 or 0, in a transaction of its own committed at the
// end. A refused update throws and stops there; the rows before it stay stored. The
// descriptor data set is read again afterwards either way, so it shows what is stored.
void storeVisibility(Attachment &db, DataSet &fields, const QList<bool> &ticks,
                     const std::function<void(int, bool)> &showColumn);

} // namespace field_choice
