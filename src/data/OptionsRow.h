#pragma once
// The program options row (the first row of RB_OPTIONS, through the options data set): when
// it is put into edit mode, how it is stored, and the gateway account and log file choices.
//
// An empty RB_OPTIONS: entering edit mode appends a new row (with a key from the
// generator), and leaving the page or saving stores it like an edited row, so the first save
// creates the row the rest of the program reads.
#include "common/Error.h"

#include <QString>

class DataSet;

class OptionsRow {
public:
  explicit OptionsRow(DataSet &options) : options_(options) {}

  DataSet &dataSet() const { return options_; }
  bool pending() const; // edit or insert mode

  // Showing the settings: puts the row into edit mode unless it already is.
  void enterEdit();
  // Leaving the settings: stores a pending row; a failure cancels it without a word.
  void leave();
  // The save button: false (and nothing stored) when the row is not pending; a failed post
  // cancels the row's changes without a word and also gives false.
  bool save();
  // Stores the gateway account; the row ends in browse mode whatever happens, and an error
  // (after the row's unsaved changes are discarded) propagates to the operator.
  void saveGateway(const QString &login, const QString &password);
  // The log file chooser: LOGFILE := chosen + ".txt" (whatever chosen ends with), that file
  // is created empty (an existing one is emptied) and the row is stored. When the file
  // cannot be created or the row cannot be stored, the row's changes are cancelled without
  // a word and false is returned.
  bool chooseLogFile(const QString &chosen);

  // The language name in the settings file "kyv.ini" (section [params], key "Lang").
  static void storeLanguage(const QString &iniPath, const QString &language);

private:
  void cancelQuietly();

  DataSet &options_;
};
