#include "exchange/CsvExport.h"

#include "compose/FieldFormatter.h"
#include "data/Query.h"
#include "data/Transaction.h"
#include "exchange/ContactListQuery.h"
#include "exchange/ExchangeError.h"
#include "exchange/ExportField.h"

#include <QHash>
#include <QSaveFile>
#include <QStringEncoder>

namespace csv_export {

QString fileNameFor(const QString &chosen) {
  return chosen.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive) ? chosen
                                                                      : chosen + QStringLiteral(".csv");
}

namespace {
bool needsQuotes(QStringView value) {
  for (QChar c : value)
    if (c == u',' || c == u'"' || c == u'\r' || c == u'\n')
      return true;
  return false;
}

void appendField(QString &line, const QString &value) {
  if (!needsQuotes(value)) {
    line += value;
    return;
  }
  line += u'"';
  for (QChar c : value) {
    if (c == u'"')
      line += u'"';
    line += c;
  }
  line += u'"';
}

// The operator's formats, with each distinct time of day formatted once: dispatch times
// repeat over a large list, and the locale's formatting costs more than reading the row.
class ValueText {
public:
  explicit ValueText(const QLocale &locale) : formatter_(locale) {}
  QString operator()(const QVariant &value, ColumnType type) {
    if (type != ColumnType::Time)
      return formatter_.format(value, type);
    const int ms = value.toTime().msecsSinceStartOfDay();
    auto it = times_.constFind(ms);
    if (it == times_.constEnd()) {
      if (times_.size() > 65536)
        times_.clear();
      it = times_.insert(ms, formatter_.format(value, type));
    }
    return *it;
  }

private:
  FieldFormatter formatter_;
  QHash<int, QString> times_;
};

[[noreturn]] void fileFailed(const QSaveFile &file) {
  throw ExportError(QStringLiteral("%1: %2").arg(file.fileName(), file.errorString()));
}
} // namespace

QString field(const QString &value) {
  QString out;
  appendField(out, value);
  return out;
}

int write(Attachment &db, const ContactListQuery &contacts, const QList<ExportField> &fields,
          const QString &path, const QLocale &locale) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    fileFailed(file);

  Transaction transaction(db, Transaction::Ending::Commit);
  Query query(transaction, contacts.sql);
  query.setParams(contacts.params);
  query.open();
  const QList<Column> &columns = query.columns();
  ValueText text(locale);
  QStringEncoder encoder("windows-1251", QStringConverter::Flag::Stateless);

  int lines = 0;
  QString line;
  QByteArray buffer;
  while (query.fetch()) {
    const QList<QVariant> &row = query.row();
    line.clear();
    for (qsizetype k = 0; k < fields.size(); ++k) {
      if (k > 0)
        line += u',';
      const int c = fields[k].column;
      if (c < 0 || c >= row.size() || row[c].isNull())
        continue; // NULL: an empty field
      appendField(line, text(row[c], columns[c].type));
    }
    line += QStringLiteral("\r\n");
    buffer += encoder.encode(line);
    ++lines;
    if (buffer.size() >= 1 << 16) {
      if (file.write(buffer) != buffer.size())
        fileFailed(file);
      buffer.clear();
    }
  }
  if (file.write(buffer) != buffer.size() || !file.commit())
    fileFailed(file);
  return lines;
}

} // namespace csv_export
