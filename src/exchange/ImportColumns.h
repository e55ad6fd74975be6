#pragma once
// Which column of the CSV file fills which contact field, and whether the first line is a
// title line: the state of the import dialog's column choices cbx1..cbx7 (cleared by the
// buttons sb1..sb7) and of cbTitle.
#include <QString>

#include <array>

struct ImportColumns {
  // The seven importable contact fields, in the order of cbx1..cbx7.
  enum Field { Phone, Name, BirthDate, DField, EField, FField, GField };
  static constexpr int fieldCount = 7;
  static constexpr int none = -1;

  // Column (from 0) chosen for each field, none when the field is not imported.
  std::array<int, fieldCount> column{none, none, none, none, none, none, none};
  // The first line holds titles and is not imported; ticked when the dialog opens.
  bool titleLine = true;

  // The CONTACTS column a field fills ("PHONE" for Phone).
  static QString contactColumn(Field field);

  // The dialog's opening state for a grid of gridColumns columns: field n at column n (A to
  // G), no choice where the grid has no such column; titleLine ticked.
  static ImportColumns defaults(int gridColumns);

  // Choice n (1 to 7, as cbx1..cbx7); none for a number out of range.
  int choice(int n) const;
  void setChoice(int n, int column);
  // What the clear button sbn does: choice n is no longer imported.
  void clearChoice(int n) { setChoice(n, none); }
};
