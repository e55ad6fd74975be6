#include "select/FilterChoices.h"

#include "common/LangConstants.h"
#include "data/DataSet.h"

namespace {

QStringList columnTexts(DataSet &rows, const QString &field) {
  rows.fetchAll();
  const int column = rows.fieldIndex(field);
  QStringList texts;
  texts.reserve(rows.rowCount());
  for (int row = 0; row < rows.rowCount(); ++row)
    texts << rows.value(row, column).toString();
  return texts;
}

QStringList captions(const QStringList &keys, const QString &lang, const QString &section) {
  QStringList texts;
  texts.reserve(keys.size());
  for (const QString &key : keys)
    texts << langText(lang, section, key);
  return texts;
}

} // namespace

QStringList readFieldNames(DataSet &fields) {
  return columnTexts(fields, QStringLiteral("NAMEDS"));
}

FilterChoices FilterChoices::read(DataSet &fields, DataSet &operators, const QString &lang) {
  FilterChoices choices;
  choices.fieldNames = readFieldNames(fields);
  choices.fieldCaptions =
      captions(columnTexts(fields, QStringLiteral("NAMEDISP")), lang, QStringLiteral("Fields"));
  choices.operatorCaptions =
      captions(columnTexts(operators, QStringLiteral("NAME")), lang, QStringLiteral("Operations"));
  return choices;
}
