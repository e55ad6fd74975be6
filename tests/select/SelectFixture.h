#pragma once
// The recipient selection against a real embedded database: the data module opened on a
// fresh database, its row rules installed with a scripted name dialog, the shipped English
// language file loaded and scripted message boxes. Rows are set up with plain statements.
#include "common/LangConstants.h"
#include "data/DataSet.h"
#include "data/Query.h"
#include "data/TDModule.h"
#include "data/contacts/RecordRules.h"
#include "select/FilterCommands.h"
#include "select/RecipientSelection.h"
#include "support/AppFolder.h"
#include "support/ModuleReads.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDatabase.h"

#include <QQueue>
#include <QStringList>
#include <QVariant>

#include <memory>

class SelectFixture {
public:
  // What the name dialog does when a filter row enters insert or edit mode: a name to
  // confirm, or nothing to cancel.
  QQueue<std::optional<QString>> nameAnswers;
  QStringList dialogSuffixes; // the caption suffix of every name dialog opened
  QStringList postErrors;     // what a refused post reported

  SelectFixture() {
    folder.copyShippedFiles();
    CurrentLang() = QStringLiteral("English");
    LoadLangConst(CurrentLang());
    module.openAt(db.path());
    record_rules::install(module, [this](DataSet &ds, const QString &suffix) { nameDialog(ds, suffix); });
  }

  AppFolder folder;
  ScriptedDialogs dialogs;
  TestDatabase db;
  TDModule module;
  RecipientSelection selection;
  FilterCommands commands{module, selection};

  void execute(const QString &sql) {
    Transaction tr(module.KyvBase, Transaction::Ending::Commit);
    Query(tr, sql).execute();
    tr.commit();
  }
  void addGroup(int id, const QString &name) {
    execute(QStringLiteral("INSERT INTO LISTGROUPS (ID, NAME) VALUES (%1, '%2')").arg(id).arg(name));
  }
  // name is an SQL literal's inside (apostrophes doubled by the caller).
  void addContact(int group, const QString &name, const QString &phone = {}, const QString &birth = {}) {
    execute(QStringLiteral("INSERT INTO CONTACTS (ID, IDGROUP, NAME, PHONE, BIRTHDATE) VALUES "
                           "(GEN_ID(GEN_CONTACTS_ID, 1), %1, '%2', %3, %4)")
                .arg(group)
                .arg(name, phone.isEmpty() ? "NULL" : "'" + phone + "'",
                     birth.isEmpty() ? "NULL" : "'" + birth + "'"));
  }
  int addSavedFilter(int id, const QString &name, const QString &filt) {
    Transaction tr(module.KyvBase, Transaction::Ending::Commit);
    Query q(tr, QStringLiteral("INSERT INTO LISTFILT (ID, NAME, FILT) VALUES (:ID, :NAME, :FILT)"));
    q.setParam("ID", id);
    q.setParam("NAME", name);
    q.setParam("FILT", filt);
    q.execute();
    tr.commit();
    return id;
  }
  // The data sets read again, the group current in the group list.
  void reload(int currentGroup = -1) {
    module.openAt(db.path());
    if (currentGroup >= 0)
      module.IBGroups.locate("ID", currentGroup);
  }

  // Names of the contacts the contact list shows (all its rows read), sorted.
  QStringList listedNames() { return listedContactNames(module.IBContacts); }
  // Names of the contacts a select returns, read in a transaction of its own.
  QStringList namesOf(const QString &sql) {
    Transaction tr(module.KyvBase);
    Query q(tr, sql);
    q.open();
    QStringList names;
    while (q.fetch())
      names << q.value("NAME").toString();
    names.sort();
    return names;
  }
  QList<QVariantList> savedFilters() { return savedFiltersOf(module); }

private:
  // As the add and rename dialogs close: OK posts and commits, anything else cancels.
  void nameDialog(DataSet &ds, const QString &suffix) {
    dialogSuffixes << suffix;
    const std::optional<QString> answer = nameAnswers.isEmpty() ? std::nullopt : nameAnswers.dequeue();
    if (!answer) {
      ds.cancel();
      return;
    }
    ds.setValue("NAME", *answer);
    try {
      ds.post();
      ds.transaction().commitRetaining();
    } catch (const AppError &e) {
      postErrors << e.text();
      ds.cancel(); // the operator gives up after the error box
    }
  }
};
