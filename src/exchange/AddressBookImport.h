#pragma once
// The address book import (pmMSOutlook). This platform has no Outlook: the address book is a
// vCard file the operator chooses. Every card becomes a contact of the given group, in file
// order: NAME = the card's first name, PHONE = its mobile number (empty text when it has
// none), every other column NULL, ID from GEN_CONTACTS_ID. There is no duplicate check.
#include <QString>

#include <functional>

class Attachment;
class Dialogs;
struct LangConstants;

class AddressBookImport {
public:
  enum class Outcome {
    Cancelled, // the operator said Cancel to stQueryOutlook or to the file dialog
    Imported
  };
  struct Result {
    Outcome outcome = Outcome::Cancelled;
    int contacts = 0;
  };

  // texts: the [Constant] texts of the current language (stQueryOutlook).
  AddressBookImport(Attachment &db, Dialogs &dialogs, const LangConstants &texts);

  // Asks stQueryOutlook (title Brisklane, OK and Cancel), then for the file, reads it whole
  // and inserts one contact per card under the wait cursor; refreshContacts (close and reopen
  // the contact list) runs at the end, also when an insert fails.
  //
  // Throws VCardError for a file that cannot be read or is not a well-formed vCard file, and
  // ImportTextError for a name or number cp1251 cannot hold: nothing is stored then and the
  // contact list is not touched. Throws DatabaseError for a name or number longer than its
  // column or any other refusal of the insert, after the refresh: the contacts before it stay.
  Result run(int groupId, const std::function<void()> &refreshContacts);

  // The insert statement of the CSV import, four lines.
  static const QString insertSql;
  // The file dialog's filter.
  static const QString fileFilter;

private:
  Attachment &db_;
  Dialogs &dialogs_;
  const LangConstants &texts_;
};
