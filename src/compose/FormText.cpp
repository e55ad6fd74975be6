#include "compose/FormText.h"

#include "common/Cp1251.h"
#include "common/LangConstants.h"
#include "compose/Translit.h"
#include "data/Query.h"
#include "data/Transaction.h"

void requireCp1251Text(const QString &text) {
  const qsizetype bad = cp1251::firstUnencodable(text);
  if (bad < 0)
    return;
  throw TemplateTextError(LangConst().stCharTemplate.arg(cp1251::characterAt(text, bad)).arg(bad + 1));
}

TMasSMS FormText(Attachment &db, const QString &templateText, const QString &query,
                 const TMasNameValue &placeholders, const TranslitTable *translit,
                 const FieldFormatter &formatter) {
  requireCp1251Text(templateText);
  if (translit && !translit->usable())
    throw TranslitFileError(translit->refusal());
  TMasSMS result;
  Transaction tr(db, Transaction::Ending::Commit);
  Query q(tr, query);
  q.open();
  const QList<Column> &columns = q.columns();
  const int phone = q.columnIndex(QStringLiteral("PHONE"));
  const int id = q.columnIndex(QStringLiteral("ID"));
  while (q.fetch()) {
    const QList<QVariant> &row = q.row();
    auto columnText = [&](int column) {
      return column >= 0 && column < row.size() ? formatter.format(row[column], columns[column].type)
                                                : QString();
    };
    TRecSMS sms;
    sms.Text = substitutePlaceholders(templateText, placeholders, columnText);
    if (translit)
      sms.Text = translit->apply(sms.Text);
    if (phone >= 0)
      sms.Phone = row[phone].toString();
    if (id >= 0)
      sms.Id = row[id].toInt();
    result.append(std::move(sms));
  }
  return result;
}
