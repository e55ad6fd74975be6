#pragma once
// The contacts page as the operator meets it: the test run's database emptied of groups,
// contacts, templates and filters, the data module, the main window with its contacts page
// controller, shipped language files, and scripted message boxes. Rows are set up with plain statements;
// dialogs opened by row events are answered by a callback run once the dialog is up.
#include "app/TFMain.h"
#include "data/TDModule.h"
#include "gui/base/RowDialogs.h"
#include "gui/base/TFParentAdd.h"
#include "gui/contacts/ContactsController.h"
#include "support/AppFolder.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDatabase.h"

#include <QString>
#include <QVariant>

#include <functional>
#include <memory>

class ContactsFixture {
public:
  // lang is written to kyv.ini before the main window reads it.
  explicit ContactsFixture(const TestDatabase &db, const QString &lang = QStringLiteral("English"));
  ~ContactsFixture();

  AppFolder folder;
  ScriptedDialogs dialogs;
  std::unique_ptr<TDModule> module;
  std::unique_ptr<RowDialogs> rowDialogs;
  std::unique_ptr<TFMain> window;

  ContactsController &controller() const;

  // Committed rows, then the data sets read again.
  int addGroup(const QString &name, int contacts = 0);
  int addContact(int group, const QString &name, const QString &phone = {}, const QVariant &send = {},
                 const QVariant &ferror = {});
  void execute(const QString &sql, const QVariantMap &params = {});
  // The first column of the first row of a select, read in a transaction of its own.
  QVariant scalar(const QString &sql, const QVariantMap &params = {});
  void reload();
  // Makes the group current (its contacts fill the contacts grid).
  void selectGroup(int id);
  void focusGroups();
  void focusContacts();

  // Types text key by key as the operator would (any letters, Cyrillic included).
  static void typeText(QWidget *widget, const QString &text);

  // Runs answer on the next modal add or rename dialog once it is up; answer must close it.
  static void whenDialogOpens(std::function<void(TFParentAdd &)> answer);
};
