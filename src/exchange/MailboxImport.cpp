#include "exchange/MailboxImport.h"

#include "common/Dialogs.h"
#include "common/LangConstants.h"
#include "data/Query.h"
#include "data/Transaction.h"
#include "exchange/ImportSteps.h"
#include "exchange/MailSubject.h"
#include "exchange/MailboxAccount.h"
#include "exchange/Pop3Client.h"
#include "exchange/StorableText.h"

const QString MailboxImport::insertSql = QStringLiteral(
    "INSERT INTO CONTACTS (BIRTHDATE, DATESEND, DFIELD, EFIELD, FERROR, FFIELD, GFIELD, ID, IDGROUP, "
    "\n"
    "NAME, PARTSEND, PHONE, SEND, TIMESEND)\n"
    "VALUES (NULL, NULL, :DFIELD, :EFIELD, NULL, :FFIELD, :GFIELD,\n"
    "GEN_ID(GEN_CONTACTS_ID, 1), :IDGROUP, '', NULL, :PHONE, NULL, NULL)");

MailboxImport::MailboxImport(Attachment &db, Dialogs &dialogs, const LangConstants &texts,
                             const mail::MailTimeouts &timeouts)
    : db_(db), dialogs_(dialogs), texts_(texts), timeouts_(timeouts) {}

MailboxImport::Result MailboxImport::run(const MailboxAccount &account, int groupId,
                                         const std::function<void()> &refreshContacts) {
  Result result;
  if (!account.isComplete()) {
    dialogs_.message(import_steps::title, texts_.stEmail, Dialogs::Icon::Information);
    return result;
  }
  const mail::Pop3Address address = mail::Pop3Address::parse(*account.server);

  import_steps::Finish finish(dialogs_, refreshContacts);
  mail::Pop3Client client(timeouts_);
  try {
    if (client.open(address, *account.login, *account.password) == mail::Pop3Client::Opened::NotReady) {
      result.outcome = Outcome::ServerNotReady;
    } else {
      result.outcome = Outcome::Imported;
      Transaction transaction(db_, Transaction::Ending::Commit);
      Query insert(transaction, insertSql);
      for (int i = 1; i <= client.messageCount(); ++i) {
        const QString subject = mail::messageSubject(client.retrieve(i));
        requireStorableText(subject, QStringLiteral("The subject of message %1").arg(i));
        insert.setParam(QStringLiteral("IDGROUP"), groupId);
        insert.setParam(QStringLiteral("PHONE"), subject.isNull() ? QStringLiteral("") : subject);
        insert.execute();
        ++result.contacts;
      }
      transaction.commit();
    }
  } catch (...) {
    client.close();
    finish.afterFailure();
    throw;
  }
  client.close();
  finish.done();
  if (result.outcome == Outcome::ServerNotReady)
    dialogs_.message(import_steps::title, texts_.stServerError, Dialogs::Icon::Information);
  return result;
}
