#pragma once
// One connection to a Firebird database through the client library (embedded engine for a
// plain file path, a server for "host:/path"). The user name and password are the caller's
// (SYSDBA and the system's password by default); connection character set WIN1251 and SQL
// dialect 3; there is never a log-in prompt.
//
// The connection may be used from several threads at once, each with transactions and
// queries of its own. Transactions register here so that close() can end each one with its
// own ending action; an Attachment must therefore outlive its Transaction objects.
#include "data/DbLogin.h"

#include <QString>

#include <mutex>
#include <vector>

namespace Firebird {
class IAttachment;
}
class Transaction;

class Attachment {
public:
  Attachment() = default;
  ~Attachment(); // closes, swallowing errors
  Attachment(const Attachment &) = delete;
  Attachment &operator=(const Attachment &) = delete;

  // Opens an existing database; throws DatabaseError with the client's text on failure
  // (empty location, missing file, unreachable server, wrong password...).
  void open(const QString &location, const DbLogin &login = DbLogin::defaults());
  // Creates a new database file (default character set WIN1251), owned by the login's user,
  // and stays attached to it.
  void create(const QString &location, const DbLogin &login = DbLogin::defaults(), int pageSize = 8192);
  // Ends every open transaction with its own ending action, then detaches.
  void close();
  // Deletes the attached database file (rolling back open transactions) and detaches.
  void drop();

  bool isOpen() const;
  const QString &location() const { return location_; }
  // The client's interface; throws DatabaseError when the connection is not open.
  Firebird::IAttachment *handle() const;

private:
  friend class Transaction;
  void registerTransaction(Transaction *t);
  void unregisterTransaction(Transaction *t);
  void attach(const QString &location, const DbLogin &login, bool createNew, int pageSize);

  mutable std::mutex mutex_;
  std::vector<Transaction *> transactions_;
  Firebird::IAttachment *attachment_ = nullptr;
  QString location_;
};
