#pragma once
// The condition text of the filter builder: up to five rows, each a contact column, a
// comparison and a value, joined by one conjunction. The text is a boolean expression over
// CONTACTS columns without the word WHERE, for example
//   (NAME = 'Ivan') OR (PHONE LIKE '%916%')
// and it is also what a saved filter stores in LISTFILT.FILT.
//
// A row counts when its field position lies within the field names, its operator position
// is one of the five comparisons and its value is not empty (one blank counts). Rows that
// do not count add nothing and leave no conjunction behind. Each value stands as a quoted
// string literal with every apostrophe doubled, so a value never ends its literal early;
// the database converts the text for date and number columns. The characters % and _ in
// the value of a "contains" row stay LIKE wildcards.
#include <QString>
#include <QStringList>

#include <span>

enum class Conjunction { And, Or };

struct FilterRow {
  int field = -1; // position in the field names; -1: nothing chosen
  int oper = -1;  // position in RB_OPER; -1: nothing chosen
  QString value;
};

// The comparisons by their position in RB_OPER.
enum FilterOperatorPosition { OpEqual = 0, OpNotEqual = 1, OpContains = 2, OpGreater = 3, OpLess = 4 };
inline constexpr int filterOperatorCount = 5;

// The value as the inside of an SQL string literal: every apostrophe doubled.
QString quoteFilterValue(const QString &value);

// The term of one row, such as (NAME = 'Ivan'); empty when the row does not count.
QString filterTerm(const QStringList &fieldNames, const FilterRow &row);

// The whole condition text; empty when no row counts.
QString FormFilter(const QStringList &fieldNames, std::span<const FilterRow> rows, Conjunction conjunction);
