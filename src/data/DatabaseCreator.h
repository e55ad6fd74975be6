#pragma once
// Creates a new contact database: the file through the client (embedded engine for a local
// path), then the schema and reference rows kept in db/*.sql, which are built into the
// library so the tools work from any folder.
#include "data/DbLogin.h"

#include <QString>
#include <QStringList>

class Attachment;

class DatabaseCreator {
public:
  // Creates location with the schema and reference rows, plus the demo group when asked,
  // owned by the login's user. Fails with DatabaseError (an existing file is never
  // overwritten); a database left half-built by a failing script is dropped again.
  static void create(const QString &location, bool withDemo = false,
                     const DbLogin &login = DbLogin::defaults());

  // The built-in scripts.
  static QString schemaScript();
  static QString seedScript();
  static QString demoScript();

  // Runs a script of ';'-terminated statements; a COMMIT statement commits the work so far.
  static void runScript(Attachment &db, const QString &script);
  // The statements of a script, without comments-only pieces. Quotes and comments may hold ';'.
  static QStringList splitScript(const QString &script);
};
