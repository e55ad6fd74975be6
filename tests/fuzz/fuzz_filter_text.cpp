// A filter's condition text as it comes back from LISTFILT (cp1251), and the texts the filter
// builder makes from any values. A condition that is taken must stay inside its parentheses
// in every statement it goes into: a model of the database's lexer (string literals, quoted
// names, Q'...' literals, comments) reads each statement, and the condition must neither
// close the parenthesis around it nor hide what follows it. A builder's text is always taken.
#include "FuzzCheck.h"

#include "common/Cp1251.h"
#include "compose/FilterCondition.h"
#include "compose/RecipientQuery.h"
#include "select/FilteredStatement.h"
#include "select/FormFilter.h"

#include <array>

namespace {

bool isWordChar(QChar c) {
  return c.unicode() < 0x80 && (c.isLetterOrNumber() || c == u'_' || c == u'$');
}

QChar closingOf(QChar open) {
  switch (open.unicode()) {
  case u'(':
    return u')';
  case u'[':
    return u']';
  case u'{':
    return u'}';
  case u'<':
    return u'>';
  default:
    return open;
  }
}

// Reads sql as the database would; the condition spans [from, to). Fails when the condition
// takes the statement's text after it into a literal or comment, or reaches below the depth of
// parentheses it was opened at.
void checkConfined(const QString &sql, qsizetype from, qsizetype to) {
  int depth = 0;
  int conditionDepth = -1;
  qsizetype i = 0;
  while (i < sql.size()) {
    if (i == from)
      conditionDepth = depth;
    if (i == to)
      FUZZ_CHECK(depth == conditionDepth, QStringLiteral("the condition leaves a parenthesis open: ") + sql);
    if (i >= from && i < to)
      FUZZ_CHECK(depth >= conditionDepth, QStringLiteral("the condition leaves its parentheses: ") + sql);
    const QChar c = sql[i];
    const QChar next = i + 1 < sql.size() ? sql[i + 1] : QChar();
    qsizetype end = i + 1;
    if ((c == u'q' || c == u'Q') && next == u'\'' && i + 2 < sql.size() &&
        (i == 0 || !isWordChar(sql[i - 1]))) {
      const QChar close = closingOf(sql[i + 2]);
      end = i + 3;
      while (end < sql.size() && !(sql[end] == close && end + 1 < sql.size() && sql[end + 1] == u'\''))
        ++end;
      end = std::min(sql.size(), end + 2);
    } else if (c == u'\'' || c == u'"') {
      end = i + 1;
      while (end < sql.size()) {
        if (sql[end] == c && end + 1 < sql.size() && sql[end + 1] == c)
          end += 2;
        else if (sql[end] == c)
          break;
        else
          ++end;
      }
      end = std::min(sql.size(), end + 1);
    } else if (c == u'-' && next == u'-') {
      end = sql.indexOf(u'\n', i);
      end = end < 0 ? sql.size() : end;
    } else if (c == u'/' && next == u'*') {
      end = sql.indexOf(QStringLiteral("*/"), i + 2);
      end = end < 0 ? sql.size() : end + 2;
    } else if (isWordChar(c)) {
      while (end < sql.size() && isWordChar(sql[end]))
        ++end;
    } else if (c == u'(') {
      ++depth;
    } else if (c == u')') {
      --depth;
    }
    if (i < to)
      FUZZ_CHECK(end <= to, QStringLiteral("the condition runs into the text after it: ") + sql);
    i = end;
  }
  FUZZ_CHECK(depth == 0, QStringLiteral("the statement's parentheses do not balance: ") + sql);
}

// Every statement the condition goes into: the contact list's, and the recipient queries.
void checkStatements(const QString &condition) {
  const QString list = filtered_statement::selectSql(condition);
  FUZZ_CHECK(filtered_statement::isFiltered(list), list);
  const qsizetype at = list.indexOf(QStringLiteral("WHERE (")) + 7;
  checkConfined(list, at, at + condition.size());

  const RecipientScope group{false, true, 5};
  const QString inGroup = recipientQuery(QStringLiteral("ID, NAME"), group, condition);
  if (!condition.isEmpty())
    checkConfined(inGroup, inGroup.size() - condition.size() - 1, inGroup.size() - 1);
  const RecipientScope all{true, false, {}};
  const QString everywhere = recipientQuery(QStringLiteral("ID, NAME"), all, condition);
  if (!condition.isEmpty())
    checkConfined(everywhere, everywhere.size() - condition.size() - 1, everywhere.size() - 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QByteArray input = fuzz::bytes(data, size);
  const QString stored = cp1251::decode(input);
  bool taken = true;
  try {
    checkFilterCondition(stored);
  } catch (const FilterConditionError &e) {
    FUZZ_CHECK(!e.text().isEmpty(), QString());
    taken = false;
    // Nothing that is refused goes into a statement.
    bool refused = false;
    try {
      recipientQuery(QStringLiteral("ID"), RecipientScope{}, stored);
    } catch (const FilterConditionError &) {
      refused = true;
    }
    FUZZ_CHECK(refused, stored);
  }
  if (taken)
    checkStatements(stored);

  // The builder's rows: values separated by code 31, each row another comparison.
  const QStringList fieldNames{QStringLiteral("NAME"), QStringLiteral("PHONE"), QStringLiteral("BIRTHDATE")};
  std::array<FilterRow, 5> rows;
  const QStringList values = stored.split(QChar(31));
  for (int r = 0; r < 5 && r < values.size(); ++r)
    rows[r] = FilterRow{r % 3, r, values[r]};
  const QString built = FormFilter(fieldNames, rows, input.size() % 2 ? Conjunction::Or : Conjunction::And);
  try {
    checkFilterCondition(built);
  } catch (const FilterConditionError &e) {
    fuzz::fail("the builder's text is taken", e.text());
  }
  checkStatements(built);
  return 0;
}
