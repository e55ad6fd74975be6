#pragma once
// A fresh contact database per test: created from the project's schema and reference rows in
// a temporary folder that is removed afterwards, through the embedded engine, or in the
// suites' runs against a server (LocalFirebirdServer::requested()) through the suite's
// server, path() then being the server's "127.0.0.1/PORT:/path" form.
// Run under ctest, which gives each suite private settings and a private lock folder.
#include <QString>
#include <QTemporaryDir>

class TestDatabase {
public:
  // Throws DatabaseError when the database cannot be created.
  explicit TestDatabase(bool withDemo = false);
  TestDatabase(const TestDatabase &) = delete;
  TestDatabase &operator=(const TestDatabase &) = delete;

  // The location to open: the file, or the file on the server.
  const QString &path() const { return path_; }
  // Makes this database the one the program opens ("DBName" in the test's private settings).
  void registerAsDbName() const;
  // Removes "DBName" from the test's private settings.
  static void clearDbName();

private:
  QTemporaryDir dir_;
  QString path_;
};
