// The data module against a real embedded database: opening, the data sets, master and
// detail, editing states and row events.
#include "support/TestDatabase.h"

#include "data/DatabaseError.h"
#include "data/DbSettings.h"
#include "data/Query.h"
#include "data/TDModule.h"

#include <QFile>
#include <QTest>

namespace {
QStringList columnValues(DataSet &ds, const QString &field) {
  QStringList out;
  ds.fetchAll();
  for (int row = 0; row < ds.rowCount(); ++row)
    out << ds.value(row, ds.fieldIndex(field)).toString();
  return out;
}

int count(TDModule &m, const QString &sql) {
  Transaction tr(m.KyvBase);
  Query q(tr, sql);
  q.execute();
  return q.value(0).toInt();
}

QList<DataSet *> allDataSets(TDModule &m) {
  return {&m.IBGroups, &m.IBContacts, &m.IBFields, &m.IBTemplate, &m.IBOptions, &m.IBOper, &m.IBFilter};
}

// As the confirmed group and contact dialogs do: post, then commit-retaining.
void addGroup(TDModule &m, const QString &name, int contacts) {
  m.IBGroups.append();
  m.IBGroups.setValue("NAME", name);
  m.IBGroups.post();
  m.IBTrGroups.commitRetaining();
  for (int i = 0; i < contacts; ++i) {
    m.IBContacts.append();
    m.IBContacts.setValue("NAME", QStringLiteral("%1-%2").arg(name).arg(i));
    m.IBContacts.post();
    m.IBTrContacts.commitRetaining();
  }
}
} // namespace

class TestDataModule : public QObject {
  Q_OBJECT

  std::unique_ptr<TestDatabase> db;
  std::unique_ptr<TDModule> m;

  void openModule(bool demo) {
    db = std::make_unique<TestDatabase>(demo);
    db->registerAsDbName();
    m = std::make_unique<TDModule>();
    m->open();
  }

private slots:
  void cleanup() {
    m.reset();
    db.reset();
    TestDatabase::clearDbName();
  }

  void openingFailsWithTheClientsText_data() {
    QTest::addColumn<QString>("location");
    QTest::newRow("no DBName") << QString();
    QTest::newRow("missing file") << QStringLiteral("/nonexistent-folder/KYV.FDB");
    QTest::newRow("not a database") << QString::fromLocal8Bit(qgetenv("BL_SOURCE_DIR")) + "/db/schema.sql";
  }
  void openingFailsWithTheClientsText() {
    QFETCH(QString, location);
    if (location.isEmpty())
      TestDatabase::clearDbName();
    else
      setDbNameSetting(location);
    QString clientText;
    try {
      Attachment direct;
      direct.open(location);
    } catch (const DatabaseError &e) {
      clientText = e.text();
    }
    QVERIFY(!clientText.isEmpty());

    TDModule module;
    try {
      module.open();
      QFAIL("opened");
    } catch (const DatabaseError &e) {
      QCOMPARE(e.text(), clientText);
    }
    QVERIFY(!module.KyvBase.isOpen());
    for (DataSet *ds : allDataSets(module))
      QCOMPARE(ds->state(), DataSet::State::Inactive);
  }

  void opensEveryDataSetWithTheReferenceRows() {
    openModule(true);
    for (DataSet *ds : allDataSets(*m))
      QCOMPARE(ds->state(), DataSet::State::Browse);
    QCOMPARE(columnValues(m->IBFields, "NAMEDS"),
             QStringList({"PHONE", "NAME", "BIRTHDATE", "DFIELD", "EFIELD", "FFIELD", "GFIELD", "SEND",
                          "DATESEND", "TIMESEND", "PARTSEND", "FERROR"}));
    QCOMPARE(columnValues(m->IBFields, "FORTEMP").first(), QStringLiteral("[TEL]"));
    QCOMPARE(columnValues(m->IBOper, "NAME"),
             QStringList({"opEqual", "opNotEqual", "opContains", "opGreater", "opLess"}));
    QCOMPARE(m->IBOptions.rowCount(), 1);
    QCOMPARE(m->IBOptions.value("COMRATE").toInt(), 57600);
    QCOMPARE(m->IBOptions.fieldCount(), 16);
    QCOMPARE(columnValues(m->IBGroups, "NAME"), QStringList({QStringLiteral("Демо")}));
    QCOMPARE(m->IBContacts.rowCount(), 5);
    QCOMPARE(m->IBContacts.fieldCount(), 15);
    QCOMPARE(m->IBContacts.fields()[0].name, QStringLiteral("PHONE"));
    QCOMPARE(m->IBContacts.value("NAME").toString(), QStringLiteral("Иван Петров"));
    QCOMPARE(m->IBContacts.value("BIRTHDATE").toDate(), QDate(1985, 3, 14));
    QCOMPARE(m->IBContacts.fieldLength("PHONE"), 20);
    QCOMPARE(m->IBGroups.fieldLength("NAME"), 100);
    QCOMPARE(m->IBTemplate.rowCount(), 0);
    QCOMPARE(m->IBFilter.rowCount(), 0);
  }

  // The texts of every statement the data sets run, kept in golden/datamodule_statements.sql.
  void statementTextsMatchTheGoldenFile() {
    TDModule module;
    const QList<std::pair<const char *, DataSet *>> sets{
        {"IBGroups", &module.IBGroups},   {"IBContacts", &module.IBContacts},
        {"IBFields", &module.IBFields},   {"IBTemplate", &module.IBTemplate},
        {"IBOptions", &module.IBOptions}, {"IBOper", &module.IBOper},
        {"IBFilter", &module.IBFilter}};
    QString text;
    for (const auto &[name, ds] : sets) {
      text += QStringLiteral("-- %1 select\n%2;\n").arg(name, ds->selectSql());
      text += QStringLiteral("-- %1 insert\n%2;\n").arg(name, ds->insertSql());
      text += QStringLiteral("-- %1 modify\n%2;\n").arg(name, ds->modifySql());
      text += QStringLiteral("-- %1 delete\n%2;\n").arg(name, ds->deleteSql());
      text += QStringLiteral("-- %1 refresh\n%2;\n").arg(name, ds->refreshSql());
    }
    QFile golden(QFINDTESTDATA("golden/datamodule_statements.sql"));
    QVERIFY(golden.open(QIODevice::ReadOnly));
    QCOMPARE(text, QString::fromUtf8(golden.readAll()));
  }

  void contactsFollowTheCurrentGroup() {
    openModule(false);
    QVERIFY(m->IBGroups.isEmpty());
    QVERIFY(m->IBContacts.isOpen());
    QVERIFY(m->IBContacts.isEmpty()); // no group, no contacts
    addGroup(*m, "A", 3);
    addGroup(*m, "B", 0);
    addGroup(*m, "C", 2);
    const QList<int> expected{3, 0, 2};
    int reloads = 0;
    QObject context; // ends the connection with this test
    connect(&m->IBContacts, &DataSet::reset, &context, [&] { ++reloads; });
    for (int row : {0, 1, 2, 0}) {
      m->DSGroups.setCurrentRow(row);
      QCOMPARE(m->IBContacts.rowCount(), expected[row]);
      const QVariant group = m->IBGroups.value("ID");
      for (int i = 0; i < m->IBContacts.rowCount(); ++i)
        QCOMPARE(m->IBContacts.value(i, m->IBContacts.fieldIndex("IDGROUP")), group);
    }
    QCOMPARE(reloads, 4);
    // Renaming the current group keeps its key: no reload.
    m->IBGroups.edit();
    m->IBGroups.setValue("NAME", "A2");
    m->IBGroups.post();
    QCOMPARE(reloads, 4);
  }

  void newRowsTakeKeysAndCancelledOnesLeaveGaps() {
    openModule(false);
    m->IBGroups.append();
    QCOMPARE(m->IBGroups.state(), DataSet::State::Insert);
    const int first = m->IBGroups.value("ID").toInt();
    QCOMPARE(m->IBGroups.rowCount(), 1);
    m->IBGroups.cancel();
    QCOMPARE(m->IBGroups.state(), DataSet::State::Browse);
    QCOMPARE(m->IBGroups.rowCount(), 0);
    QCOMPARE(m->IBGroups.currentRow(), -1);
    m->IBGroups.append();
    QCOMPARE(m->IBGroups.value("ID").toInt(), first + 1);
    m->IBGroups.setValue("NAME", QStringLiteral("Вторая"));
    m->IBGroups.post();
    QCOMPARE(m->IBGroups.state(), DataSet::State::Browse);
    m->IBTrGroups.commitRetaining();
    QCOMPARE(count(*m, QStringLiteral("select count(*) from LISTGROUPS where ID = %1").arg(first + 1)), 1);
    QCOMPARE(count(*m, QStringLiteral("select count(*) from LISTGROUPS where ID = %1").arg(first)), 0);
  }

  void editOnAnEmptyDataSetAppends() {
    openModule(false);
    QStringList events;
    m->IBTemplate.afterInsert = [&](DataSet &) { events << "insert"; };
    m->IBTemplate.afterEdit = [&](DataSet &) { events << "edit"; };
    m->IBTemplate.edit();
    QCOMPARE(m->IBTemplate.state(), DataSet::State::Insert);
    QVERIFY(m->IBTemplate.value("ID").toInt() > 0);
    m->IBTemplate.setValue("NAME", "T");
    m->IBTemplate.post();
    m->IBTemplate.edit();
    QCOMPARE(m->IBTemplate.state(), DataSet::State::Edit);
    m->IBTemplate.cancel();
    QCOMPARE(events, QStringList({"insert", "edit"}));
  }

  void aDialogMayPostFromTheAfterInsertHook() {
    openModule(false);
    m->IBGroups.afterInsert = [](DataSet &ds) {
      ds.setValue("NAME", QStringLiteral("Из диалога"));
      ds.post();
    };
    m->IBGroups.append();
    QCOMPARE(m->IBGroups.state(), DataSet::State::Browse);
    QCOMPARE(m->IBGroups.value("NAME").toString(), QStringLiteral("Из диалога"));
  }

  void failedPostKeepsTheRowInItsMode_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("fragment");
    QTest::newRow("empty name") << QString("") << "NAME";
    QTest::newRow("too long") << QString(101, 'x') << "truncation";
  }
  void failedPostKeepsTheRowInItsMode() {
    QFETCH(QString, name);
    QFETCH(QString, fragment);
    openModule(false);
    m->IBGroups.append();
    m->IBGroups.setValue("NAME", name);
    try {
      m->IBGroups.post();
      QFAIL("posted");
    } catch (const DatabaseError &e) {
      QVERIFY2(e.text().contains(fragment), qPrintable(e.text()));
    }
    QCOMPARE(m->IBGroups.state(), DataSet::State::Insert);
    m->IBGroups.setValue("NAME", "fixed");
    m->IBGroups.post();
    QCOMPARE(m->IBGroups.rowCount(), 1);
  }

  void hooksCanRefuseSilently() {
    openModule(true);
    m->IBContacts.beforeDelete = [](DataSet &) { throw SilentAbort(); };
    QVERIFY_THROWS_EXCEPTION(SilentAbort, m->IBContacts.remove());
    QCOMPARE(m->IBContacts.rowCount(), 5);
    m->IBContacts.beforeDelete = nullptr;
    m->IBContacts.remove();
    QCOMPARE(m->IBContacts.rowCount(), 4);
    m->IBTrContacts.commitRetaining();
    QCOMPARE(count(*m, "select count(*) from CONTACTS"), 4);

    m->IBContacts.beforePost = [](DataSet &) { throw SilentAbort(); };
    m->IBContacts.edit();
    m->IBContacts.setValue("PHONE", "1");
    QVERIFY_THROWS_EXCEPTION(SilentAbort, m->IBContacts.post());
    QCOMPARE(m->IBContacts.state(), DataSet::State::Edit);
    m->IBContacts.cancel();
    QVERIFY(m->IBContacts.value("PHONE").toString() != "1");
  }

  void aNewContactJoinsTheCurrentGroup() {
    openModule(true);
    addGroup(*m, "Second", 0);
    const QVariant group = m->IBGroups.value("ID");
    m->IBContacts.append();
    QCOMPARE(m->IBContacts.value("IDGROUP"), group);
    m->IBContacts.setValue("NAME", QStringLiteral("Новый"));
    m->IBContacts.setValue("BIRTHDATE", "01.02.2003");
    m->IBContacts.post();
    m->IBContacts.refresh();
    QCOMPARE(m->IBContacts.rowCount(), 1);
    QCOMPARE(m->IBContacts.value("BIRTHDATE").toDate(), QDate(2003, 2, 1));
  }

  void badFieldValuesAreRefused_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("value");
    QTest::newRow("text into integer") << "SEND" << QVariant("yes");
    QTest::newRow("not a date") << "BIRTHDATE" << QVariant("31.02.2001");
    QTest::newRow("no such field") << "NOFIELD" << QVariant(1);
  }
  void badFieldValuesAreRefused() {
    QFETCH(QString, field);
    QFETCH(QVariant, value);
    openModule(true);
    const QVariant before = m->IBContacts.value("SEND");
    m->IBContacts.edit();
    QVERIFY_THROWS_EXCEPTION(DatabaseError, m->IBContacts.setValue(field, value));
    QCOMPARE(m->IBContacts.value("SEND"), before);
    QVERIFY_THROWS_EXCEPTION(DatabaseError, m->IBGroups.setValue("NAME", "x")); // not editing
  }

  void aFilterWithoutConditionTakesThePendingOne_data() {
    QTest::addColumn<QVariant>("filt");
    QTest::addColumn<QString>("stored");
    QTest::newRow("empty") << QVariant() << "(NAME LIKE '%a%')";
    QTest::newRow("set") << QVariant("(SEND = '1')") << "(SEND = '1')";
  }
  void aFilterWithoutConditionTakesThePendingOne() {
    QFETCH(QVariant, filt);
    openModule(false);
    m->PendingFilter = "(NAME LIKE '%a%')";
    m->IBFilter.append();
    m->IBFilter.setValue("NAME", "f");
    m->IBFilter.setValue("FILT", filt);
    m->IBFilter.post();
    QTEST(m->IBFilter.value("FILT").toString(), "stored");
  }

  void theContactsSelectCanBeReplacedAndRestored() {
    openModule(true);
    m->IBContacts.close();
    m->IBContacts.setSelectSql("SELECT * FROM CONTACTS\nWHERE (NAME LIKE '%Ив%') AND (IDGROUP = :ID)");
    m->IBContacts.open();
    QCOMPARE(columnValues(m->IBContacts, "NAME"), QStringList({QStringLiteral("Иван Петров")}));
    // Still the detail of the current group.
    addGroup(*m, "Empty", 0);
    QVERIFY(m->IBContacts.isEmpty());
    m->IBGroups.first();
    QCOMPARE(m->IBContacts.rowCount(), 1);
    m->IBContacts.close();
    m->IBContacts.restoreSelectSql();
    QCOMPARE(m->IBContacts.selectSql(), TDModule::contactsSelectSql);
    m->IBContacts.open();
    QCOMPARE(m->IBContacts.rowCount(), 5);
  }

  void fieldDescriptorsStayInIdOrder() {
    openModule(false);
    const QStringList ids{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"};
    for (int round = 0; round < 40; ++round) {
      m->IBFields.first();
      do {
        m->IBFields.edit();
        m->IBFields.setValue("FVISIBLE", (round + m->IBFields.currentRow()) % 3);
        m->IBFields.post();
      } while (m->IBFields.next());
      if (round % 10 == 9) { // as the field choice dialog does: close (commit) and read again
        m->IBFields.close();
        m->IBFields.open();
        QCOMPARE(columnValues(m->IBFields, "ID"), ids);
      }
    }
    m.reset(); // and across a restart
    m = std::make_unique<TDModule>();
    m->open();
    QCOMPARE(columnValues(m->IBFields, "ID"), ids);
    QCOMPARE(m->IBFields.value(11, m->IBFields.fieldIndex("FVISIBLE")).toInt(), (39 + 11) % 3);
  }

  void closingMakesPendingWorkDurable() {
    openModule(true);
    m->IBOptions.edit();
    m->IBOptions.setValue("GSMTIME", 7);
    m->IBOptions.post();
    addGroup(*m, QStringLiteral("Сохранится"), 1);
    m.reset();
    m = std::make_unique<TDModule>();
    m->open();
    QCOMPARE(m->IBOptions.value("GSMTIME").toInt(), 7);
    QCOMPARE(m->IBGroups.rowCount(), 2);
    QCOMPARE(count(*m, "select count(*) from CONTACTS"), 6);
  }

  void deletingAGroupDeletesItsContacts() {
    openModule(true);
    QCOMPARE(count(*m, "select count(*) from CONTACTS"), 5);
    m->IBGroups.remove();
    m->IBTrGroups.commitRetaining();
    QVERIFY(m->IBContacts.isEmpty());
    QCOMPARE(count(*m, "select count(*) from CONTACTS"), 0);
  }

  void aLockedContactFailsToPostAtOnce() {
    openModule(true);
    Transaction worker(m->KyvBase);
    Query q(worker, "update CONTACTS set SEND = 2 where ID = :ID");
    q.setParam("ID", m->IBContacts.value("ID"));
    q.execute();
    m->IBContacts.edit();
    m->IBContacts.setValue("NAME", "x");
    try {
      m->IBContacts.post();
      QFAIL("posted");
    } catch (const DatabaseError &e) {
      QVERIFY(e.isLockConflict());
    }
    QCOMPARE(m->IBContacts.state(), DataSet::State::Edit);
    worker.commit();
    m->IBContacts.cancel();
  }

  // Another connection's committed change to other columns survives a later edit made from
  // rows read before it; an edit that changes nothing writes nothing, so a row held by
  // someone else does not refuse it.
  void anEditWritesOnlyTheColumnsItChanged() {
    openModule(true);
    const QVariant id = m->IBContacts.value("ID");
    Attachment other;
    other.open(db->path());
    {
      Transaction refresh(other, Transaction::Ending::Commit);
      Query q(refresh, "update CONTACTS set SEND = 3 where ID = :ID");
      q.setParam("ID", id);
      q.execute();
    }
    m->IBContacts.edit();
    m->IBContacts.setValue("NAME", QStringLiteral("Новое имя"));
    m->IBContacts.post();
    m->IBTrContacts.commitRetaining();
    QCOMPARE(count(*m, "select count(*) from CONTACTS where SEND = 3 and NAME = 'Новое имя'"), 1);

    Transaction holder(other);
    Query hold(holder, "update CONTACTS set SEND = 1 where ID = :ID");
    hold.setParam("ID", id);
    hold.execute();
    m->IBContacts.edit();
    m->IBContacts.setValue("NAME", QStringLiteral("Новое имя"));
    m->IBContacts.post();
    QCOMPARE(m->IBContacts.state(), DataSet::State::Browse);
    holder.rollback();
  }

  void signalsFollowTheState() {
    openModule(true);
    QList<DataSet::State> states;
    QList<int> rows;
    QObject context; // ends the connections with this test
    connect(&m->IBContacts, &DataSet::stateChanged, &context, [&](DataSet::State s) { states << s; });
    connect(&m->IBContacts, &DataSet::currentRowChanged, &context, [&](int r) { rows << r; });
    m->IBContacts.setCurrentRow(3);
    m->IBContacts.append();
    m->IBContacts.cancel();
    m->IBContacts.edit();
    m->IBContacts.post();
    QCOMPARE(states, QList<DataSet::State>({DataSet::State::Insert, DataSet::State::Browse,
                                            DataSet::State::Edit, DataSet::State::Browse}));
    QCOMPARE(rows, QList<int>({3, 5, 4}));
  }
};

QTEST_GUILESS_MAIN(TestDataModule)
#include "test_datamodule.moc"
