#pragma once
// What the five rows of the filter builder offer: the contact columns of RB_FIELDS and the
// comparisons of RB_OPER, both in the order the tables return their rows, with the texts
// the lists show in the current language. Positions match throughout: entry k of a field
// list stands for fieldNames[k], entry k of an operator list for comparison k.
#include <QString>
#include <QStringList>

class DataSet;

struct FilterChoices {
  QStringList fieldNames;       // FieldNames: NAMEDS of every RB_FIELDS row, whatever its flags
  QStringList fieldCaptions;    // [Fields] text of each row's NAMEDISP; empty when the file lacks it
  QStringList operatorCaptions; // [Operations] text of each RB_OPER row's NAME; likewise

  // Reads both data sets (IBFields, IBOper) whole without moving their current rows.
  static FilterChoices read(DataSet &fields, DataSet &operators, const QString &lang);
};

// NAMEDS of every row of the field descriptors, in table order.
QStringList readFieldNames(DataSet &fields);
