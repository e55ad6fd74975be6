#include "exchange/CsvImportSession.h"

#include "common/Dialogs.h"
#include "data/DataSet.h"
#include "data/DatabaseError.h"
#include "exchange/CsvImporter.h"
#include "exchange/ExchangeError.h"
#include "exchange/TwfCSV.h"

#include <exception>

CsvImportSession::CsvImportSession(Attachment &db, DataSet &groups, DataSet &contacts, Dialogs &dialogs,
                                   const LangConstants &texts, const QLocale &locale)
    : db_(db), groups_(groups), contacts_(contacts), dialogs_(dialogs), texts_(texts), locale_(locale) {}

CsvImportSession::~CsvImportSession() {
  preview_.setReader(nullptr);
}

bool CsvImportSession::load(const QString &fileName) {
  preview_.setReader(nullptr);
  reader_ = std::make_unique<TwfCSV>();
  try {
    reader_->ReadFile(fileName);
  } catch (const CsvReadError &e) {
    reader_.reset();
    columns_ = ImportColumns::defaults(0);
    dialogs_.message(QStringLiteral("Brisklane"), e.text(), Dialogs::Icon::Information);
    return false;
  }
  preview_.setReader(reader_.get());
  columns_ = ImportColumns::defaults(preview_.columnCount());
  return true;
}

int CsvImportSession::finish(bool accepted) {
  int inserted = 0;
  std::exception_ptr failure;
  if (accepted && reader_) {
    const QVariant group =
        groups_.isOpen() && groups_.currentRow() >= 0 ? groups_.value(QStringLiteral("ID")) : QVariant();
    try {
      inserted = CsvImporter(db_, dialogs_, texts_, locale_).run(*reader_, columns_, group);
    } catch (...) {
      failure = std::current_exception();
    }
  }
  // Whatever happened, the reader goes and the contact list is read again, so the contacts
  // stored before a refused line show.
  preview_.setReader(nullptr);
  reader_.reset();
  try {
    contacts_.close();
    contacts_.open();
  } catch (const DatabaseError &) {
    if (!failure)
      throw;
  }
  if (failure)
    std::rethrow_exception(failure);
  return inserted;
}
