#include "select/FormFilter.h"

namespace {

struct OperatorText {
  const char *before;
  const char *after;
};

// Text before and after the value, by the operator's position.
constexpr OperatorText operatorTexts[filterOperatorCount] = {
    {" = '", "')"}, {" <> '", "')"}, {" LIKE '%", "%')"}, {" > '", "')"}, {" < '", "')"}};

} // namespace

QString quoteFilterValue(const QString &value) {
  QString quoted = value;
  return quoted.replace(u'\'', QStringLiteral("''"));
}

QString filterTerm(const QStringList &fieldNames, const FilterRow &row) {
  if (row.field < 0 || row.field >= fieldNames.size() || row.oper < 0 || row.oper >= filterOperatorCount ||
      row.value.isEmpty())
    return {};
  const OperatorText &op = operatorTexts[row.oper];
  return u'(' + fieldNames[row.field] + QLatin1String(op.before) + quoteFilterValue(row.value) +
         QLatin1String(op.after);
}

QString FormFilter(const QStringList &fieldNames, std::span<const FilterRow> rows, Conjunction conjunction) {
  const QString joint = conjunction == Conjunction::Or ? QStringLiteral(" OR ") : QStringLiteral(" AND ");
  QString text;
  for (const FilterRow &row : rows) {
    const QString term = filterTerm(fieldNames, row);
    if (term.isEmpty())
      continue;
    if (!text.isEmpty())
      text += joint;
    text += term;
  }
  return text;
}
