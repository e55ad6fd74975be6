#include "data/DatabaseCreator.h"

#include "data/Attachment.h"
#include "data/DatabaseError.h"
#include "data/Query.h"
#include "data/Transaction.h"

#include <QFile>
#include <QRegularExpression>

namespace {

QString resourceText(const QString &name) {
  QFile file(QStringLiteral(":/db/") + name);
  if (!file.open(QIODevice::ReadOnly))
    throw DatabaseError(QStringLiteral("The built-in script %1 is missing.").arg(name));
  return QString::fromUtf8(file.readAll());
}

// True when the piece holds something besides blanks and comments.
bool hasStatement(const QString &piece) {
  static const QRegularExpression comments(QStringLiteral(R"(--[^\n]*|/\*.*?\*/)"),
                                           QRegularExpression::DotMatchesEverythingOption);
  return !QString(piece).remove(comments).trimmed().isEmpty();
}

} // namespace

QString DatabaseCreator::schemaScript() {
  return resourceText(QStringLiteral("schema.sql"));
}
QString DatabaseCreator::seedScript() {
  return resourceText(QStringLiteral("seed.sql"));
}
QString DatabaseCreator::demoScript() {
  return resourceText(QStringLiteral("demo.sql"));
}

QStringList DatabaseCreator::splitScript(const QString &script) {
  QStringList out;
  QString current;
  for (qsizetype i = 0; i < script.size(); ++i) {
    const QChar c = script[i];
    if (c == u'\'' || c == u'"') {
      const qsizetype close = script.indexOf(c, i + 1);
      const qsizetype end = close < 0 ? script.size() : close + 1;
      current += QStringView(script).sliced(i, end - i);
      i = end - 1;
    } else if (c == u'-' && script.mid(i, 2) == u"--") {
      qsizetype end = script.indexOf(u'\n', i);
      end = end < 0 ? script.size() : end;
      current += QStringView(script).sliced(i, end - i);
      i = end - 1;
    } else if (c == u'/' && script.mid(i, 2) == u"/*") {
      qsizetype end = script.indexOf(u"*/", i + 2);
      end = end < 0 ? script.size() : end + 2;
      current += QStringView(script).sliced(i, end - i);
      i = end - 1;
    } else if (c == u';') {
      if (hasStatement(current))
        out << current.trimmed();
      current.clear();
    } else {
      current += c;
    }
  }
  if (hasStatement(current))
    out << current.trimmed();
  return out;
}

void DatabaseCreator::runScript(Attachment &db, const QString &script) {
  static const QRegularExpression commit(QStringLiteral(R"(^(--[^\n]*\n|\s)*COMMIT(\s+WORK)?\s*$)"),
                                         QRegularExpression::CaseInsensitiveOption);
  Transaction tr(db, Transaction::Ending::Rollback);
  for (const QString &statement : splitScript(script)) {
    if (commit.match(statement).hasMatch()) {
      tr.commit();
      continue;
    }
    Query q(tr, statement);
    q.execute();
  }
  tr.commit();
}

void DatabaseCreator::create(const QString &location, bool withDemo, const DbLogin &login) {
  Attachment db;
  db.create(location, login);
  try {
    runScript(db, schemaScript());
    runScript(db, seedScript());
    if (withDemo)
      runScript(db, demoScript());
  } catch (const DatabaseError &) {
    db.drop();
    throw;
  }
  db.close();
}
