// FormText over 100,000 contacts against a bare fetch of the same query in the same run,
// and the cost of showing all those messages in the preview box.
//   bench_formtext [contacts]      (default 100000)
// Prints one table row per measurement; ratios are against the bare fetch.
#include "common/Cp1251.h"
#include "compose/FieldPlaceholders.h"
#include "compose/FormText.h"
#include "compose/RecipientQuery.h"
#include "compose/Translit.h"
#include "data/Attachment.h"
#include "data/DatabaseCreator.h"
#include "data/Query.h"
#include "data/Transaction.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLocale>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

void fill(Attachment &db, int contacts) {
  Transaction tr(db, Transaction::Ending::Commit);
  Query(tr, "INSERT INTO LISTGROUPS (ID, NAME) VALUES (1, 'bench')").execute();
  // One statement over a cross join of digits: inserting row by row from here would
  // dominate the run. The descriptor rows 1..10 serve as the digits 0..9.
  const QString digits = "(SELECT ID - 1 AS N FROM RB_FIELDS WHERE ID <= 10)";
  Query(tr, QString("INSERT INTO CONTACTS (PHONE, NAME, BIRTHDATE, DFIELD, SEND, TIMESEND, ID, IDGROUP) "
                    "SELECT '+7900' || I, 'Контакт ' || I, DATEADD(MOD(I, 20000) DAY TO DATE '1950-01-01'), "
                    "'Поле ' || I, MOD(I, 3), TIME '10:00:00', I + 1, 1 FROM "
                    "(SELECT A.N + 10 * B.N + 100 * C.N + 1000 * D.N + 10000 * E.N + 100000 * F.N AS I "
                    "FROM %1 A, %1 B, %1 C, %1 D, %1 E, %2 F) WHERE I < %3")
                .arg(digits, contacts > 100000 ? digits : QString("(SELECT 0 AS N FROM RDB$DATABASE)"))
                .arg(contacts))
      .execute();
}

// Runs every job once per round, interleaved so that a busy machine slows them alike, and
// keeps the best time of each, in milliseconds.
QList<double> bestOf(int rounds, const QList<std::function<void()>> &jobs) {
  QList<double> best(jobs.size(), 1e300);
  for (int r = 0; r < rounds; ++r)
    for (qsizetype j = 0; j < jobs.size(); ++j) {
      QElapsedTimer t;
      t.start();
      jobs[j]();
      best[j] = std::min(best[j], double(t.nsecsElapsed()) / 1e6);
    }
  return best;
}

} // namespace

int main(int argc, char **argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int contacts = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
  QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));

  QTemporaryDir dir;
  const QString path = dir.filePath("bench.fdb");
  DatabaseCreator::create(path);
  Attachment db;
  db.open(path);
  fill(db, contacts);

  const QString query = recipientQuery(GetListFields(db), RecipientScope{}, QString());
  const TMasNameValue placeholders = readFieldPlaceholders(db).table;
  const QString templ = "Здравствуйте, [NAM]! Ваш номер [TEL], день рождения [BIR]. [FL1]";
  TranslitTable translit;
  translit.parse(cp1251::encode(QString("а-a\nб-b\nв-v\nд-d\nе-e\nж-zh\nз-z\nи-i\nк-k\nл-l\nм-m\nн-n\n"
                                        "о-o\nп-p\nр-r\nс-s\nт-t\nу-u\nь-\nЗ-Z\nВ-V\nК-K\nП-P")));

  qsizetype rows = 0;
  TMasSMS messages;
  const QList<double> t = bestOf(5, {[&] {
                                       Transaction tr(db, Transaction::Ending::Commit);
                                       Query q(tr, query);
                                       q.open();
                                       rows = 0;
                                       while (q.fetch())
                                         rows += q.row().size() > 0;
                                     },
                                     [&] { messages = FormText(db, templ, query, placeholders, nullptr); },
                                     [&] { FormText(db, templ, query, placeholders, &translit); }});
  const double fetch = t[0], form = t[1], formTranslit = t[2];

  // What the preview page does with the messages: one line each, set at once.
  QPlainTextEdit box;
  box.setLineWrapMode(QPlainTextEdit::NoWrap);
  box.resize(800, 600);
  box.show();
  QString joined;
  const int runs = 3;
  const double join = bestOf(runs, {[&] {
                               QStringList lines;
                               lines.reserve(messages.size());
                               for (const TRecSMS &m : messages)
                                 lines.append(m.Text);
                               joined = lines.join(u'\n');
                             }})[0];
  const double show = bestOf(runs, {[&] {
                               box.clear();
                               box.setPlainText(joined);
                               QApplication::processEvents();
                             }})[0];

  if (rows != contacts || messages.size() != contacts) {
    std::fprintf(stderr, "expected %d rows, read %lld and made %lld messages\n", contacts, (long long)rows,
                 (long long)messages.size());
    return 1;
  }
  std::printf("| measurement (%d contacts) | ms | ratio to bare fetch |\n|---|---|---|\n", contacts);
  std::printf("| bare fetch of the recipient query | %.0f | 1.00 |\n", fetch);
  std::printf("| FormText, 4 placeholders | %.0f | %.2f |\n", form, form / fetch);
  std::printf("| FormText, 4 placeholders, transliterated | %.0f | %.2f |\n", formTranslit,
              formTranslit / fetch);
  std::printf("| full preview: join the lines | %.0f | %.2f |\n", join, join / fetch);
  std::printf("| full preview: show the joined text | %.0f | %.2f |\n", show, show / fetch);
  const bool ok = form <= 2 * fetch && formTranslit <= 2 * fetch;
  std::printf("FormText within 2x of the bare fetch: %s\n", ok ? "yes" : "NO");
  return ok ? 0 : 2;
}
