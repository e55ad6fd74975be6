#pragma once
// The field choice dialog: the contact fields with a tick each. Built anew for each use in
// one of three modes (see field_choice::Mode); on OK it does the work of its mode. Its
// captions are fixed and do not follow the interface language; the field names do.
//
// The visibility mode stores FVISIBLE for every descriptor row and shows or hides the
// contacts grid's columns at once through showGridColumn. The export modes hand the ticks
// to exportWork, which the export commands supply.
#include "exchange/FieldChoice.h"

#include <QDialog>

#include <functional>

class DataSet;
class QListWidget;
class QPushButton;

class TFListVis : public QDialog {
  Q_OBJECT
public:
  // fields is the descriptor data set (IBFields); it is read again when the dialog is built.
  TFListVis(field_choice::Mode mode, DataSet &fields, QWidget *parent = nullptr);

  QListWidget *CheckListBox;
  QPushButton *Button1, *Button2, *Button3, *Button4;

  field_choice::Mode ListVisMode() const { return mode_; }
  // The ticks of the entries, entry k standing for the descriptor row with ID k + 1.
  QList<bool> ticks() const;
  void setTicked(int entry, bool ticked);
  QStringList entryTexts() const;

  // Visibility mode: shows or hides column k of the contacts grid.
  std::function<void(int column, bool visible)> showGridColumn;
  // Export modes: the work done on OK.
  std::function<void(const TFListVis &dialog)> exportWork;

  void Button4Click(); // tick every entry
  void Button3Click(); // untick every entry
  // Closes the dialog; with OK, the work of the mode runs once it is closed, and an error
  // of that work travels on to the caller (the general error report).
  void done(int result) override;

private:
  void FormCreate();
  void FormClose();
  void setAllTicked(bool ticked);

  field_choice::Mode mode_;
  DataSet &fields_;
};
