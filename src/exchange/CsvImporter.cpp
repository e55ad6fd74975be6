#include "exchange/CsvImporter.h"

#include "common/Cp1251.h"
#include "common/Dialogs.h"
#include "common/LangConstants.h"
#include "compose/FieldFormatter.h"
#include "data/Query.h"
#include "data/Transaction.h"
#include "exchange/ExchangeError.h"
#include "exchange/ImportColumns.h"
#include "common/Dialogs.h"
#include "exchange/TwfCSV.h"

#include <QHash>

const QString CsvImporter::insertSql = QStringLiteral(
    "INSERT INTO CONTACTS (BIRTHDATE, DATESEND, DFIELD, EFIELD, FERROR, FFIELD, GFIELD, ID, IDGROUP, \n"
    "NAME, PARTSEND, PHONE, SEND, TIMESEND)\n"
    "VALUES (:BIRTHDATE, NULL, :DFIELD, :EFIELD, NULL, :FFIELD, :GFIELD,\n"
    "GEN_ID(GEN_CONTACTS_ID, 1), :IDGROUP, :NAME, NULL, :PHONE, NULL, NULL)");

namespace {

// Reads birth dates in the operator's short date format. Leading zeros may be left out
// ("5.3.1980" for "05.03.1980"), as desktop date input allows. Contacts share birthdays,
// so each distinct text is read once.
class DateReader {
public:
  explicit DateReader(const QLocale &locale) : locale_(locale) {
    const QString format = FieldFormatter(locale).dateFormat();
    formats_ << format;
    QString relaxed = format;
    relaxed.replace(QStringLiteral("dd"), QStringLiteral("d"))
        .replace(QStringLiteral("MM"), QStringLiteral("M"));
    if (relaxed != format)
      formats_ << relaxed;
  }

  QDate read(const QString &text) {
    auto it = cache_.constFind(text);
    if (it != cache_.constEnd())
      return *it;
    QDate date;
    for (const QString &format : formats_) {
      date = locale_.toDate(text, format);
      if (date.isValid())
        break;
    }
    if (cache_.size() > 65536)
      cache_.clear();
    cache_.insert(text, date);
    return date;
  }

private:
  QLocale locale_;
  QStringList formats_;
  QHash<QString, QDate> cache_;
};

} // namespace

CsvImporter::CsvImporter(Attachment &db, Dialogs &dialogs, const LangConstants &texts, const QLocale &locale)
    : db_(db), dialogs_(dialogs), texts_(texts), locale_(locale) {}

QString CsvImporter::dateMessage(const QString &name) const {
  return texts_.stFormatError + QStringLiteral("\r\n") + texts_.stContact + QStringLiteral(": \"") + name +
         QLatin1Char('"');
}

int CsvImporter::run(const TwfCSV &reader, const ImportColumns &columns, const QVariant &group) {
  if (!group.isValid() || group.isNull())
    throw CsvImportError(texts_.stNoGroup);
  WaitCursor wait(dialogs_);
  DateReader dates(locale_);

  // Commits the lines stored before a refused one as well.
  Transaction transaction(db_, Transaction::Ending::Commit);
  Query insert(transaction, insertSql);
  insert.setParam(QStringLiteral("IDGROUP"), group);

  // Parameter names in the order of ImportColumns::Field.
  QStringList names;
  for (int f = 0; f < ImportColumns::fieldCount; ++f)
    names << ImportColumns::contactColumn(ImportColumns::Field(f));

  int inserted = 0;
  for (int i = columns.titleLine ? 1 : 0; i < reader.RecordCount; ++i) {
    const QStringList &fields = reader.Records.at(i);
    // NULL where no column is chosen or the line has no such field.
    auto field = [&](ImportColumns::Field f) -> QVariant {
      const int c = columns.column[f];
      return c >= 0 && c < fields.size() ? QVariant(fields.at(c)) : QVariant();
    };
    for (int f = 0; f < ImportColumns::fieldCount; ++f) {
      if (f == ImportColumns::BirthDate)
        continue;
      const QVariant value = field(ImportColumns::Field(f));
      if (value.isValid()) {
        const QString text = value.toString();
        const qsizetype bad = cp1251::firstUnencodable(text);
        if (bad >= 0)
          throw CsvImportError(texts_.stCsvCharset.arg(reader.fileLine(i))
                                   .arg(text.mid(bad, QChar::isHighSurrogate(text[bad].unicode()) ? 2 : 1)));
      }
      insert.setParam(names[f], value);
    }
    QVariant birth;
    if (columns.column[ImportColumns::BirthDate] >= 0) {
      const QDate date = dates.read(field(ImportColumns::BirthDate).toString());
      if (date.isValid())
        birth = date;
      else
        dialogs_.message(QStringLiteral("Brisklane"), dateMessage(field(ImportColumns::Name).toString()),
                         Dialogs::Icon::Information);
    }
    insert.setParam(QStringLiteral("BIRTHDATE"), birth);
    insert.execute();
    ++inserted;
  }
  transaction.commit();
  return inserted;
}
