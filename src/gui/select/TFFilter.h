#pragma once
// The filter builder: five rows of a contact field, a comparison and a value, and the
// choice whether all rows or any row must hold. Apply (the default button) closes the
// dialog with OK, which narrows the contact list to the condition and makes it the filter
// in force; Save stores the condition under a name and leaves the dialog open; Cancel
// changes nothing. The condition text itself is the select core's (FilterBuilder).
//
// The lists are filled once, when the dialog is made: the fields from the field
// descriptors and the comparisons from the operator rows, both in table order, with the
// texts of the current language. A new dialog has no selection in any row, empty values
// and "all rows" ticked.
#include "gui/base/TFParentForm.h"
#include "select/FilterBuilder.h"
#include "select/FilterChoices.h"

#include <array>

class DataSet;
class FilterCommands;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TFFilter : public TFParentForm {
  Q_OBJECT
public:
  // fields, operators: IBFields and IBOper; commands applies and saves.
  TFFilter(DataSet &fields, DataSet &operators, FilterCommands &commands, QWidget *parent = nullptr);

  QGroupBox *gbxOptions;
  QLabel *lbFilterField, *lbFilterOper, *lbFilterValue;
  QComboBox *ComboBox1, *ComboBox2, *ComboBox3, *ComboBox4, *ComboBox5;  // fields, rows 1..5
  QComboBox *ComboBox6, *ComboBox7, *ComboBox8, *ComboBox9, *ComboBox10; // comparisons, rows 1..5
  QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5;                      // values, rows 1..5
  QCheckBox *cbAnd, *cbOr;
  QPushButton *butApply, *butSave, *butCancel;

  // The column names by field list position (NAMEDS of every RB_FIELDS row).
  const QStringList &FieldNames() const { return builder_.fieldNames(); }
  // The condition text of the rows as they stand; empty when no row is complete.
  QString FormFilter() const { return builder_.FormFilter(); }

  void FormCbx(QComboBox *list) const;
  void FormCbxOper(QComboBox *list) const;
  void butSaveClick();
  void cbAndClick();
  void cbOrClick();

  // FormClose: closing with OK applies the filter once the dialog is gone; the failure
  // path (message stParamFilter) runs then, and the dialog does not come back.
  void done(int result) override;

private:
  void showConjunction();

  FilterChoices choices_;
  FilterBuilder builder_;
  FilterCommands &commands_;
  std::array<QComboBox *, FilterBuilder::rowCount> fieldLists_{};
  std::array<QComboBox *, FilterBuilder::rowCount> operatorLists_{};
  std::array<QLineEdit *, FilterBuilder::rowCount> values_{};
};
