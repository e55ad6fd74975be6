#include "exchange/AddressBookImport.h"

#include "common/Dialogs.h"
#include "common/LangConstants.h"
#include "data/Query.h"
#include "data/Transaction.h"
#include "exchange/ImportSteps.h"
#include "exchange/StorableText.h"
#include "exchange/VCardReader.h"

const QString AddressBookImport::insertSql = QStringLiteral(
    "INSERT INTO CONTACTS (BIRTHDATE, DATESEND, DFIELD, EFIELD, FERROR, FFIELD, GFIELD, ID, IDGROUP, "
    "\n"
    "NAME, PARTSEND, PHONE, SEND, TIMESEND)\n"
    "VALUES (:BIRTHDATE, NULL, :DFIELD, :EFIELD, NULL, :FFIELD, :GFIELD,\n"
    "GEN_ID(GEN_CONTACTS_ID, 1), :IDGROUP, :NAME, NULL, :PHONE, NULL, NULL)");

const QString AddressBookImport::fileFilter =
    QStringLiteral("Адресная книга vCard (*.vcf *.vcard);;Все файлы (*)");

AddressBookImport::AddressBookImport(Attachment &db, Dialogs &dialogs, const LangConstants &texts)
    : db_(db), dialogs_(dialogs), texts_(texts) {}

namespace {
QString nonNull(const QString &text) {
  return text.isNull() ? QStringLiteral("") : text;
}
} // namespace

AddressBookImport::Result AddressBookImport::run(int groupId, const std::function<void()> &refreshContacts) {
  Result result;
  if (!dialogs_.confirm(import_steps::title, texts_.stQueryOutlook))
    return result;
  const QString path = dialogs_.openFileName(QString(), fileFilter);
  if (path.isEmpty())
    return result;

  QList<AddressEntry> entries;
  {
    import_steps::Finish cursor(dialogs_, nullptr); // the list is untouched while nothing is stored
    entries = VCardReader::readFile(path);
    // Every card is checked before the first insert, so such a file stores nothing.
    for (const AddressEntry &entry : entries) {
      const QString card = QStringLiteral("The card on line %1 of \"%2\"").arg(entry.line).arg(path);
      requireStorableText(entry.firstName, card + QStringLiteral(": its name"));
      requireStorableText(entry.mobilePhone, card + QStringLiteral(": its mobile number"));
    }
    cursor.done();
  }

  result.outcome = Outcome::Imported;
  import_steps::Finish finish(dialogs_, refreshContacts);
  try {
    Transaction transaction(db_, Transaction::Ending::Commit);
    Query insert(transaction, insertSql);
    for (const AddressEntry &entry : entries) {
      insert.setParam(QStringLiteral("IDGROUP"), groupId);
      insert.setParam(QStringLiteral("NAME"), nonNull(entry.firstName));
      insert.setParam(QStringLiteral("PHONE"), nonNull(entry.mobilePhone));
      insert.execute();
      ++result.contacts;
    }
    transaction.commit();
  } catch (...) {
    finish.afterFailure();
    throw;
  }
  finish.done();
  return result;
}
