#pragma once
// A contact database as the import and export find it: the test run's database emptied of
// groups and contacts, the data module open on it, scripted message boxes, the operator's
// locale (Russian: dd.MM.yyyy, H:mm:ss) and fixed message texts.
#include "common/LangConstants.h"
#include "data/Query.h"
#include "data/TDModule.h"
#include "data/Transaction.h"
#include "support/ContactTable.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDatabase.h"

#include <QFile>
#include <QLocale>
#include <QVariant>

#include <memory>

struct ExchangeFixture {
  explicit ExchangeFixture(const TestDatabase &db) {
    texts.stFormatError = QStringLiteral("Bad date.");
    texts.stContact = QStringLiteral("Contact");
    texts.stCsvCharset = QStringLiteral("Line %1: \"%2\" cannot be stored.");
    texts.stNoGroup = QStringLiteral("No group.");
    texts.stNoExportFields = QStringLiteral("No field.");
    module = std::make_unique<TDModule>();
    module->openAt(db.path());
    execute("DELETE FROM CONTACTS");
    execute("DELETE FROM LISTGROUPS");
    module->IBGroups.refresh();
  }

  ScriptedDialogs dialogs;
  LangConstants texts;
  QLocale locale{QLocale::Russian, QLocale::Russia};
  std::unique_ptr<TDModule> module;

  Attachment &db() { return module->KyvBase; }

  void execute(const QString &sql, const QVariantMap &params = {}) {
    ContactTable(db()).execute(sql, params);
  }
  // Every row of a select, read in a transaction of its own.
  QList<QVariantList> rows(const QString &sql, const QVariantMap &params = {}) {
    return ContactTable(db()).rows(sql, params);
  }
  // A committed group, made the current one.
  int addGroup(const QString &name) {
    const int id = rows("SELECT GEN_ID(GEN_LISTGROUPS_ID, 1) FROM RDB$DATABASE").first().first().toInt();
    execute("INSERT INTO LISTGROUPS (ID, NAME) VALUES (:ID, :NAME)", {{"ID", id}, {"NAME", name}});
    module->IBGroups.refresh();
    selectGroup(id);
    return id;
  }
  void selectGroup(int id) { module->IBGroups.locate("ID", id); }

  static void writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
      qFatal("cannot write %s", qPrintable(path));
  }
  static QByteArray readFile(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
};
