#pragma once
// Statements name their parameters ":NAME"; the client wants positional '?'. The same name
// may appear several times and gets the same value at each place. Names are compared
// without regard to case. Text inside quotes and comments is left alone, so a filter
// condition such as NAME LIKE '%:x%' keeps its colon.
#include <QList>
#include <QString>
#include <QStringList>

struct NamedParams {
  QString sql;          // the statement with every :NAME replaced by ?
  QStringList names;    // distinct names (upper case) in order of first appearance
  QList<int> positions; // for each '?', the index of its name in names
};

NamedParams parseNamedParams(const QString &sql);
