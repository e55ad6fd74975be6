// The connection, transaction and query wrappers against a real embedded database.
#include "support/TestDatabase.h"

#include "data/Attachment.h"
#include "data/DatabaseError.h"
#include "data/NamedParams.h"
#include "data/Query.h"
#include "data/Transaction.h"

#include <ibase.h>

#include <QDateTime>
#include <QTest>

#include <thread>

class TestQuery : public QObject {
  Q_OBJECT

  std::unique_ptr<TestDatabase> db;
  Attachment att;

  int scalar(const QString &sql) {
    Transaction tr(att);
    Query q(tr, sql);
    q.execute();
    return q.value(0).toInt();
  }

private slots:
  void init() {
    db = std::make_unique<TestDatabase>();
    att.open(db->path());
  }
  void cleanup() {
    att.close();
    db.reset();
  }

  void namedParams_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QList<int>>("positions");
    QTest::newRow("none") << "select 1 from RDB$DATABASE"
                          << "select 1 from RDB$DATABASE" << QStringList{} << QList<int>{};
    QTest::newRow("one") << "SELECT * FROM CONTACTS\nWHERE IDGROUP = :ID"
                         << "SELECT * FROM CONTACTS\nWHERE IDGROUP = ?" << QStringList{"ID"} << QList<int>{0};
    QTest::newRow("old key and repeat") << "update T set ID = :ID, N = :n where ID = :OLD_ID or ID = :id"
                                        << "update T set ID = ?, N = ? where ID = ? or ID = ?"
                                        << QStringList{"ID", "N", "OLD_ID"} << QList<int>{0, 1, 2, 0};
    QTest::newRow("colon in literal") << "select * from C where (NAME LIKE '%:x''y:z%') and (IDGROUP = :ID)"
                                      << "select * from C where (NAME LIKE '%:x''y:z%') and (IDGROUP = ?)"
                                      << QStringList{"ID"} << QList<int>{0};
    QTest::newRow("quoted name and comments")
        << "select \":A\" -- :B\n/* :C */ from T where X = :D"
        << "select \":A\" -- :B\n/* :C */ from T where X = ?" << QStringList{"D"} << QList<int>{0};
    QTest::newRow("cyrillic literal")
        << "select * from C where NAME = 'Иван:' and ID=:ID"
        << "select * from C where NAME = 'Иван:' and ID=?" << QStringList{"ID"} << QList<int>{0};
  }
  void namedParams() {
    QFETCH(QString, sql);
    const NamedParams p = parseNamedParams(sql);
    QTEST(p.sql, "expected");
    QTEST(p.names, "names");
    QTEST(p.positions, "positions");
  }

  void textRoundTrip_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("cyrillic") << QStringLiteral("Иван Петров");
    QTest::newRow("all cyrillic letters")
        << QStringLiteral("АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдеёжзийклмнопрстуфхцчшщъыьэюя");
    QTest::newRow("signs") << QStringLiteral("№ «кавычки» — €");
    QTest::newRow("ascii") << QStringLiteral("Plain name");
    QTest::newRow("full width") << QString(100, QChar(0x0416));
  }
  void textRoundTrip() {
    QFETCH(QString, name);
    Transaction tr(att);
    Query insert(tr, "insert into LISTGROUPS (ID, NAME) values (:ID, :NAME)");
    insert.setParam("ID", 1);
    insert.setParam("NAME", name);
    insert.execute();
    tr.commit();
    Query read(tr, "select NAME, OCTET_LENGTH(NAME), CHAR_LENGTH(NAME) from LISTGROUPS where ID = 1");
    read.execute();
    QCOMPARE(read.value(0).toString(), name);
    // Stored as one byte per character: the database holds cp1251, not UTF-8.
    QCOMPARE(read.value(1).toInt(), name.size());
    QCOMPARE(read.value(2).toInt(), name.size());
  }

  // Exact bytes on disk: Windows Cyrillic, one byte per letter.
  void storedBytesAreWindowsCyrillic() {
    Transaction tr(att);
    Query insert(tr, "insert into LISTGROUPS (ID, NAME) values (1, :NAME)");
    insert.setParam("NAME", QStringLiteral("Иван Ёж №1"));
    insert.execute();
    Query read(tr, "select CAST(NAME AS VARCHAR(100) CHARACTER SET OCTETS) from LISTGROUPS");
    read.execute();
    QCOMPARE(read.value(0).toByteArray().toHex(' '), QByteArray("c8 e2 e0 ed 20 a8 e6 20 b9 31"));
  }

  void valueRoundTrip_data() {
    QTest::addColumn<QString>("column");
    QTest::addColumn<QVariant>("value");
    QTest::newRow("date") << "BIRTHDATE" << QVariant(QDate(1985, 3, 14));
    QTest::newRow("old date") << "BIRTHDATE" << QVariant(QDate(1899, 12, 31));
    QTest::newRow("time") << "TIMESEND" << QVariant(QTime(13, 45, 59));
    QTest::newRow("midnight") << "TIMESEND" << QVariant(QTime(0, 0));
    QTest::newRow("integer") << "SEND" << QVariant(3);
    QTest::newRow("negative") << "FERROR" << QVariant(-26);
    QTest::newRow("null integer") << "SEND" << QVariant();
    QTest::newRow("null date") << "DATESEND" << QVariant();
    QTest::newRow("null text") << "PHONE" << QVariant();
    QTest::newRow("empty text is not null") << "PHONE" << QVariant(QString(""));
    QTest::newRow("text") << "GFIELD" << QVariant(QStringLiteral("поле"));
  }
  void valueRoundTrip() {
    QFETCH(QString, column);
    QFETCH(QVariant, value);
    Transaction tr(att);
    Query insert(tr, QStringLiteral("insert into CONTACTS (ID, %1) values (7, :V)").arg(column));
    insert.setParam("V", value);
    insert.execute();
    Query read(tr, QStringLiteral("select %1 from CONTACTS where ID = 7").arg(column));
    read.execute();
    QCOMPARE(read.value(0), value);
    QCOMPARE(read.value(0).isValid(), value.isValid());
  }

  void wideTypes() {
    Transaction tr(att);
    Query q(
        tr,
        "select CAST(:T AS TIMESTAMP), GEN_ID(GEN_CONTACTS_ID, 5000000000), CAST(:D AS DOUBLE PRECISION), "
        "CAST(12.34 AS NUMERIC(9,2)), CAST(:T AS DATE) from RDB$DATABASE");
    const QDateTime stamp(QDate(2024, 2, 29), QTime(23, 59, 58, 123));
    q.setParam("T", stamp);
    q.setParam("D", 2.5);
    q.execute();
    QCOMPARE(q.value(0).toDateTime(), stamp);
    QCOMPARE(q.value(1).typeId(), QMetaType::LongLong);
    QCOMPARE(q.value(1).toLongLong(), 5000000000LL);
    QCOMPARE(q.value(2).toDouble(), 2.5);
    QCOMPARE(q.value(3).toDouble(), 12.34);
    QCOMPARE(q.value(4).toDate(), stamp.date());
    QCOMPARE(q.columns()[1].type, ColumnType::BigInt);
  }

  void columnsDescribeTheTable() {
    Transaction tr(att);
    Query q(tr, "select PHONE, BIRTHDATE, ID from CONTACTS");
    const QList<Column> &c = q.columns();
    QCOMPARE(c.size(), 3);
    QCOMPARE(c[0].name, QStringLiteral("PHONE"));
    QCOMPARE(c[0].relation, QStringLiteral("CONTACTS"));
    QCOMPARE(c[0].type, ColumnType::Text);
    QCOMPARE(c[0].length, 20);
    QCOMPARE(c[1].type, ColumnType::Date);
    QCOMPARE(c[2].type, ColumnType::Integer);
    QVERIFY(!c[2].nullable);
    QCOMPARE(q.columnIndex("birthdate"), 1);
  }

  void unencodableTextIsRefused() {
    Transaction tr(att);
    Query insert(tr, "insert into LISTGROUPS (ID, NAME) values (1, :NAME)");
    insert.setParam("NAME", QStringLiteral("Группа 中"));
    try {
      insert.execute();
      QFAIL("the text was stored");
    } catch (const DatabaseError &e) {
      QVERIFY2(e.text().contains(QStringLiteral("中")), qPrintable(e.text()));
      QVERIFY(e.text().contains("NAME"));
    }
    QCOMPARE(scalar("select count(*) from LISTGROUPS"), 0);
  }

  void sameParameterTwice() {
    Transaction tr(att);
    Query q(tr,
            "select CAST(:A AS INTEGER) * 10 + CAST(:B AS INTEGER) + CAST(:a AS INTEGER) from RDB$DATABASE");
    QCOMPARE(q.paramNames(), QStringList({"A", "B"}));
    q.setParam("a", 7);
    q.setParam("B", 1);
    q.execute();
    QCOMPARE(q.value(0).toInt(), 78);
  }

  void failuresCarryTheClientsText_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("sqlState");
    QTest::addColumn<QString>("fragment");
    QTest::newRow("syntax") << "selec 1 from RDB$DATABASE"
                            << "42000"
                            << "Token unknown";
    QTest::newRow("unknown table") << "select * from NO_SUCH_TABLE"
                                   << "42S02"
                                   << "NO_SUCH_TABLE";
    QTest::newRow("required column") << "insert into LISTGROUPS (ID) values (1)"
                                     << "23000"
                                     << "NAME";
    QTest::newRow("too long")
        << "insert into LISTFILT (ID, FILT, NAME) values (1, 'x', '0123456789012345678901234567890')"
        << "22001"
        << "truncation";
  }
  void failuresCarryTheClientsText() {
    QFETCH(QString, sql);
    Transaction tr(att);
    Query q(tr, sql);
    try {
      q.execute();
      QFAIL("no failure");
    } catch (const DatabaseError &e) {
      QCOMPARE(e.className(), QStringLiteral("DatabaseError"));
      QTEST(e.sqlState(), "sqlState");
      QFETCH(QString, fragment);
      QVERIFY2(e.text().contains(fragment), qPrintable(e.text()));
      QVERIFY(!e.codes().isEmpty());
      QVERIFY(!e.isLockConflict());
    }
  }

  void unknownParameterIsAnError() {
    Transaction tr(att);
    Query q(tr, "select ID from LISTGROUPS where ID = :ID");
    QVERIFY_THROWS_EXCEPTION(DatabaseError, q.setParam("NAME", 1));
  }

  void lockConflictFailsAtOnce() {
    {
      Transaction tr(att, Transaction::Ending::Commit);
      Query q(tr, "insert into LISTGROUPS (ID, NAME) values (1, 'A')");
      q.execute();
    }
    Transaction first(att), second(att);
    Query a(first, "update LISTGROUPS set NAME = 'B' where ID = 1");
    a.execute();
    Query b(second, "update LISTGROUPS set NAME = 'C' where ID = 1");
    try {
      b.execute();
      QFAIL("the second update did not fail");
    } catch (const DatabaseError &e) {
      QVERIFY(e.isLockConflict());
      QVERIFY(e.hasCode(isc_deadlock));
      QVERIFY(e.hasCode(isc_update_conflict));
      QCOMPARE(e.sqlState(), QStringLiteral("40001"));
      QCOMPARE(e.text().section(u'\n', 0, 0), DatabaseError::lockConflictText);
      QVERIFY2(e.text().contains(QLatin1String("update conflicts with concurrent update")),
               qPrintable(e.text()));
    }
    // The holder is unaffected and its change wins.
    first.commit();
    second.rollback();
    Transaction check(att);
    Query q(check, "select NAME from LISTGROUPS where ID = 1");
    q.execute();
    QCOMPARE(q.value(0).toString(), QStringLiteral("B"));
  }

  void cursorSurvivesCommitRetainingOnly() {
    Transaction tr(att);
    Query q(tr, "select ID from RB_FIELDS");
    q.open();
    QVERIFY(q.fetch());
    tr.commitRetaining();
    int rows = 1;
    while (q.fetch())
      ++rows;
    QCOMPARE(rows, 12);

    q.open();
    QVERIFY(q.fetch());
    tr.commit();
    QVERIFY_THROWS_EXCEPTION(DatabaseError, q.fetch());
    // The statement itself stays usable in the next transaction.
    q.open();
    QVERIFY(q.fetch());
  }

  void transactionEndsWithItsAction_data() {
    QTest::addColumn<int>("ending");
    QTest::addColumn<int>("expected");
    QTest::newRow("commit") << int(Transaction::Ending::Commit) << 1;
    QTest::newRow("commit retaining") << int(Transaction::Ending::CommitRetaining) << 1;
    QTest::newRow("rollback") << int(Transaction::Ending::Rollback) << 0;
  }
  void transactionEndsWithItsAction() {
    QFETCH(int, ending);
    Transaction tr(att, Transaction::Ending(ending));
    Query q(tr, "insert into LISTGROUPS (ID, NAME) values (1, 'A')");
    q.execute();
    att.close(); // with the transaction still open
    QVERIFY(!tr.isActive());
    att.open(db->path());
    QTEST(scalar("select count(*) from LISTGROUPS"), "expected");
  }

  void threadsShareTheConnection() {
    {
      Transaction tr(att, Transaction::Ending::Commit);
      Query q(tr, "insert into LISTGROUPS (ID, NAME) values (1, 'G')");
      q.execute();
    }
    constexpr int threads = 4, rows = 200;
    std::vector<std::thread> workers;
    std::atomic<int> failures{0};
    for (int t = 0; t < threads; ++t)
      workers.emplace_back([&, t] {
        try {
          Transaction tr(att);
          Query q(tr, "insert into CONTACTS (ID, IDGROUP, NAME) values (:ID, 1, :NAME)");
          for (int i = 0; i < rows; ++i) {
            q.setParam("ID", t * rows + i + 1);
            q.setParam("NAME", QStringLiteral("Поток %1").arg(t));
            q.execute();
          }
          tr.commit();
        } catch (...) {
          ++failures;
        }
      });
    for (auto &w : workers)
      w.join();
    QCOMPARE(failures.load(), 0);
    QCOMPARE(scalar("select count(*) from CONTACTS"), threads * rows);
  }

  void openFailures_data() {
    QTest::addColumn<QString>("location");
    QTest::addColumn<QString>("fragment");
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("missing file") << "/nonexistent-folder/kyv.fdb"
                                  << "/nonexistent-folder/kyv.fdb";
    // A server location goes to the client unchanged; nothing listens on this port.
    QTest::newRow("server") << "127.0.0.1/1:/srv/kyv.fdb"
                            << "127.0.0.1";
  }
  void openFailures() {
    QFETCH(QString, location);
    QFETCH(QString, fragment);
    Attachment other;
    try {
      other.open(location);
      QFAIL("opened");
    } catch (const DatabaseError &e) {
      QVERIFY(!e.text().isEmpty());
      QVERIFY2(e.text().contains(fragment), qPrintable(e.text()));
    }
    QVERIFY(!other.isOpen());
  }
};

QTEST_GUILESS_MAIN(TestQuery)
#include "test_query.moc"
