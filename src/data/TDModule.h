#pragma once
// The data module: the program's one connection KyvBase, its transactions and the seven
// persistent data sets. Created first at start-up and handed to every part that uses it;
// open() connects to the location of the "DBName" setting (with the login beside it) and opens the data sets
// in their fixed order, close() (also run by the destructor) closes them in theirs and ends each transaction
// with its own ending action.
//
// Transactions: IBTrDef (IBTemplate, IBOptions, IBOper, IBFilter and any statement made
// on the connection without one of its own) commits when the connection closes;
// IBTrGroups and IBTrContacts end with commit-retaining when their data set closes and
// at disconnect; IBTrFields commits when IBFields closes and at disconnect.
//
// Data rules installed here: a new contact gets IDGROUP = the current group's ID
// (IBContacts.onNewRecord); a filter stored without FILT takes PendingFilter
// (IBFilter.beforePost). Dialogs and confirmations hook afterInsert, afterEdit and
// beforeDelete of the data sets; keep the two rules above when replacing those hooks.
#include "data/Attachment.h"
#include "data/DataSet.h"
#include "data/Transaction.h"

#include <QObject>

class TDModule : public QObject {
  Q_OBJECT
public:
  explicit TDModule(QObject *parent = nullptr);
  ~TDModule() override;

  // Reads "DBName" with the login beside it and opens; throws DatabaseError with the
  // client's text, leaving the connection closed and no data set open.
  void open();
  // The same with an explicit location and login.
  void openAt(const QString &location, const DbLogin &login = DbLogin::defaults());
  void close();

  Attachment KyvBase;
  Transaction IBTrDef{KyvBase, Transaction::Ending::Commit};
  Transaction IBTrGroups{KyvBase, Transaction::Ending::CommitRetaining};
  Transaction IBTrContacts{KyvBase, Transaction::Ending::CommitRetaining};
  Transaction IBTrFields{KyvBase, Transaction::Ending::Commit};

  DataSet IBGroups{IBTrGroups};
  DataSet IBContacts{IBTrContacts};
  DataSet IBFields{IBTrFields};
  DataSet IBTemplate{IBTrDef};
  DataSet IBOptions{IBTrDef};
  DataSet IBOper{IBTrDef};
  DataSet IBFilter{IBTrDef};
  // The current group: the current row of IBGroups, which IBContacts follows.
  DataSet &DSGroups = IBGroups;

  // Condition text of a filter being saved (see IBFilter.beforePost).
  QString PendingFilter;

  // The stored select texts.
  static const QString groupsSelectSql;
  static const QString contactsSelectSql; // restored by IBContacts.restoreSelectSql()
  static const QString fieldsSelectSql;
  static const QString templateSelectSql;
  static const QString optionsSelectSql;
  static const QString operSelectSql;
  static const QString filterSelectSql;

private:
  void configure();
};
