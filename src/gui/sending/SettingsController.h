#pragma once
// The behaviour of page 4's gateway and settings sub-pages: the options row is in edit mode
// while the page shows and is stored when it is left, the bound edits follow the row, and
// the buttons store the gateway account, the row, the log file and the language.
#include "data/OptionsRow.h"

#include <QObject>

class SendingPage;
class TDModule;
class QWidget;

class SettingsController : public QObject {
  Q_OBJECT
public:
  // window: what a language is applied to (the main window). Without a data module (no
  // database open) the options row is neither shown nor stored.
  SettingsController(SendingPage *page, QWidget *window, TDModule *data, QObject *parent = nullptr);

  void TS4Show();
  void TS4Hide();
  void TSOptionsShow();
  void TSOptionsHide();
  void TSInterShow();
  void butSaveShClick();
  void butSaveClick();
  void sbLogFileClick();
  void dbcbLogClick();
  void butApplyClick();

  // Shows the row's stored values in the bound controls.
  void showRow();

private:
  OptionsRow &row();
  // Writes an operator's change of a bound control into the row (entering edit mode).
  void edited(const QString &field, const QVariant &value);
  // True (after naming the field and the character to the operator) when a text of the
  // pending row holds a character the database cannot store; the row then stays pending,
  // so what was typed is kept. The same refusal is not repeated until the row changes
  // (leaving page 4 hides the sub-page and the page at once).
  bool refuseUnstorableRow();

  SendingPage *page_;
  QWidget *window_;
  TDModule *data_;
  std::unique_ptr<OptionsRow> row_;
  bool showing_ = false;
  QString refused_; // the refusal last told, until the operator edits again
};
