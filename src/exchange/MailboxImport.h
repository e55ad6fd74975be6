#pragma once
// The mailbox import (pmEmail): every message waiting in the POP3 mailbox of the options row
// becomes a contact of the given group, PHONE = the message's decoded Subject, NAME = empty
// text, every other column NULL, ID from GEN_CONTACTS_ID. Messages stay on the server, so a
// second import adds them again; there is no duplicate check.
//
// Runs on the calling (window) thread from start to end under the wait cursor; the time-outs
// bound how long a dead server can hold it.
#include "exchange/MailTimeouts.h"

#include <QString>

#include <functional>

class Attachment;
class Dialogs;
struct LangConstants;
struct MailboxAccount;

class MailboxImport {
public:
  enum class Outcome {
    NotConfigured,  // an account column is NULL: stEmail was shown, nothing else happened
    ServerNotReady, // the server did not greet with +OK: stServerError was shown, nothing stored
    Imported        // every message became a contact
  };
  struct Result {
    Outcome outcome = Outcome::NotConfigured;
    int contacts = 0;
  };

  // texts: the [Constant] texts of the current language (stEmail, stServerError).
  MailboxImport(Attachment &db, Dialogs &dialogs, const LangConstants &texts,
                const mail::MailTimeouts &timeouts = {});

  // groupId: the ID of the group current in the group list. refreshContacts closes and reopens
  // the contact list; it runs once the session is closed, whenever a connection was tried,
  // also when the import fails.
  //
  // Throws, after closing the session, refreshing and restoring the cursor: MailError (bad
  // server address, host not found, refused, time-out, login or command refused),
  // ImportTextError (a subject cp1251 cannot hold), DatabaseError (a subject longer than PHONE,
  // any refusal of the insert). The contacts inserted before the failure stay.
  Result run(const MailboxAccount &account, int groupId, const std::function<void()> &refreshContacts);

  // The insert statement, four lines.
  static const QString insertSql;

private:
  Attachment &db_;
  Dialogs &dialogs_;
  const LangConstants &texts_;
  mail::MailTimeouts timeouts_;
};
