#pragma once
// The filter button's windows over a real database: the contacts page with the selection
// controller (a fixed "today" for the birthday selection), the data module with its row
// dialogs, the shipped English language file and scripted message boxes. One database
// serves the whole run; each fixture starts from its seed rows alone. Rows are set up with
// plain statements.
#include "common/LangConstants.h"
#include "data/DataSet.h"
#include "data/Query.h"
#include "data/TDModule.h"
#include "gui/base/RowDialogs.h"
#include "gui/base/TFParentAdd.h"
#include "gui/contacts/ContactsPage.h"
#include "gui/select/SelectionController.h"
#include "select/RecipientSelection.h"
#include "support/AppFolder.h"
#include "support/ContactTable.h"
#include "support/ModalAnswer.h"
#include "support/ModuleReads.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDatabase.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

class SelectionFixture {
public:
  explicit SelectionFixture(const TestDatabase &db, QDate day = QDate(2024, 2, 29)) : today(day) {
    folder.copyShippedFiles();
    reloadLangFiles();
    CurrentLang() = QStringLiteral("English");
    LoadLangConst(CurrentLang());
    module.openAt(db.path());
    for (const char *sql : {"DELETE FROM CONTACTS", "DELETE FROM LISTGROUPS", "DELETE FROM LISTFILT"})
      execute(sql);
    module.openAt(db.path());
    rowDialogs = std::make_unique<RowDialogs>(module);
    controller = std::make_unique<SelectionController>(page, module, *rowDialogs, selection, dialogs,
                                                       [this] { return today; });
  }
  ~SelectionFixture() {
    controller.reset();
    rowDialogs.reset();
  }

  AppFolder folder;
  ScriptedDialogs dialogs;
  TDModule module;
  std::unique_ptr<RowDialogs> rowDialogs;
  ContactsPage page;
  RecipientSelection selection;
  std::unique_ptr<SelectionController> controller;
  QDate today;

  void execute(const QString &sql, const QVariantMap &params = {}) {
    ContactTable(module.KyvBase).execute(sql, params);
  }
  void addGroup(int id, const QString &name) {
    execute("INSERT INTO LISTGROUPS (ID, NAME) VALUES (:ID, :NAME)", {{"ID", id}, {"NAME", name}});
  }
  void addContact(int group, const QString &name, const QString &phone = {}, const QString &birth = {}) {
    execute("INSERT INTO CONTACTS (ID, IDGROUP, NAME, PHONE, BIRTHDATE) "
            "VALUES (GEN_ID(GEN_CONTACTS_ID, 1), :G, :N, :P, :B)",
            {{"G", group},
             {"N", name},
             {"P", phone.isEmpty() ? QVariant() : phone},
             {"B", birth.isEmpty() ? QVariant() : QVariant(QDate::fromString(birth, Qt::ISODate))}});
  }
  void addSavedFilter(int id, const QString &name, const QString &filt) {
    execute("INSERT INTO LISTFILT (ID, NAME, FILT) VALUES (:ID, :NAME, :FILT)",
            {{"ID", id}, {"NAME", name}, {"FILT", filt}});
  }
  // The data sets read again, with this group current in the group list.
  void reload(int currentGroup) {
    for (DataSet *ds : {&module.IBGroups, &module.IBContacts, &module.IBFilter})
      ds->refresh();
    if (!module.IBGroups.locate("ID", currentGroup))
      qFatal("no group %d", currentGroup);
  }

  // Names of the contacts the contact list shows (all its rows read), sorted.
  QStringList listedNames() {
    if (!module.IBContacts.isOpen())
      return {QStringLiteral("<closed>")};
    return listedContactNames(module.IBContacts);
  }
  QList<QVariantList> savedFilters() { return savedFiltersOf(module); }
  // The filter menu as it is about to open.
  QStringList menuNames() {
    emit page.PMFilter->aboutToShow();
    QStringList names;
    for (QAction *a : page.PMFilter->actions())
      names << a->objectName();
    return names;
  }
  QAction *menuItem(const QString &name) { return page.PMFilter->findChild<QAction *>(name); }
};
