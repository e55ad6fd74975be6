// Reading on demand: a large group opens with its first rows only, and the grid model
// reads more as it is scrolled; plus the model's display, titles and current row.
#include "support/TestDatabase.h"

#include "data/DataSetModel.h"
#include "data/Query.h"
#include "data/TDModule.h"

#include <QItemSelectionModel>
#include <QTest>

namespace {
constexpr int manyContacts = 20000;
}

class TestFetch : public QObject {
  Q_OBJECT

  std::unique_ptr<TestDatabase> db;
  std::unique_ptr<TDModule> m;

private slots:
  void initTestCase() {
    db = std::make_unique<TestDatabase>(true);
    Attachment att;
    att.open(db->path());
    Transaction tr(att, Transaction::Ending::Commit);
    Query group(tr, "insert into LISTGROUPS (ID, NAME) values (100, 'Many')");
    group.execute();
    Query insert(tr, "insert into CONTACTS (ID, IDGROUP, PHONE, NAME, SEND, FERROR, DATESEND) "
                     "values (:ID, 100, :PHONE, :NAME, :SEND, :FERROR, :DATESEND)");
    for (int i = 1; i <= manyContacts; ++i) {
      insert.setParam("ID", 1000 + i);
      insert.setParam("PHONE", QStringLiteral("+7900%1").arg(i, 7, 10, QChar('0')));
      insert.setParam("NAME", QStringLiteral("Контакт %1").arg(i));
      insert.setParam("SEND", i % 4 == 0 ? QVariant() : QVariant(i % 4));
      insert.setParam("FERROR", i % 2 ? QVariant(0) : QVariant());
      insert.setParam("DATESEND", QDate(2024, 1, 1).addDays(i % 365));
      insert.execute();
    }
  }

  void init() {
    db->registerAsDbName();
    m = std::make_unique<TDModule>();
    m->open();
    QVERIFY(m->IBGroups.locate("ID", 100));
  }
  void cleanup() { m.reset(); }
  void cleanupTestCase() { db.reset(); }

  void aLargeGroupOpensWithItsFirstRowsOnly() {
    QVERIFY(m->IBContacts.rowCount() < 1000);
    QVERIFY(m->IBContacts.rowCount() > 0);
    QVERIFY(m->IBContacts.canFetchMore());
    m->IBContacts.fetchAll();
    QCOMPARE(m->IBContacts.rowCount(), manyContacts);
    QVERIFY(!m->IBContacts.canFetchMore());
  }

  void theModelReadsMoreAsTheViewAsks() {
    DataSetModel model(&m->IBContacts);
    const int first = model.rowCount();
    QVERIFY(first < manyContacts);
    QVERIFY(model.canFetchMore(QModelIndex()));
    int inserted = 0;
    connect(&model, &QAbstractItemModel::rowsInserted, &model,
            [&](const QModelIndex &, int a, int b) { inserted += b - a + 1; });
    model.fetchMore(QModelIndex());
    QCOMPARE(model.rowCount(), first + inserted);
    QVERIFY(inserted > 0);
    while (model.canFetchMore(QModelIndex()))
      model.fetchMore(QModelIndex());
    QCOMPARE(model.rowCount(), manyContacts);
    QCOMPARE(model.columnCount(), 15);
  }

  void theCursorSurvivesAConfirmedEdit() {
    m->IBContacts.edit();
    m->IBContacts.setValue("NAME", QStringLiteral("Изменён"));
    m->IBContacts.post();
    m->IBTrContacts.commitRetaining(); // what a confirmed dialog does
    m->IBContacts.fetchAll();
    QCOMPARE(m->IBContacts.rowCount(), manyContacts);
    QCOMPARE(m->IBContacts.value(0, m->IBContacts.fieldIndex("NAME")).toString(), QStringLiteral("Изменён"));
  }

  void locateReadsOnUntilFound() {
    QVERIFY(m->IBContacts.locate("ID", 1000 + manyContacts - 1));
    QCOMPARE(m->IBContacts.value("NAME").toString(), QStringLiteral("Контакт %1").arg(manyContacts - 1));
    QVERIFY(!m->IBContacts.locate("ID", -5));
  }

  void displayTitlesAndAlignment() {
    DataSetModel model(&m->IBContacts);
    model.setHeaderTitle("name", QStringLiteral("Имя"));
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Имя"));
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("PHONE"));
    const int send = model.columnOf("SEND"), date = model.columnOf("DATESEND"),
              birth = model.columnOf("BIRTHDATE");
    // Row k holds contact 1001 + k: SEND (k+1) % 4, DATESEND 2024-01-01 + (k+1) days.
    QCOMPARE(model.data(model.index(0, date)).toString(), QStringLiteral("02.01.2024"));
    QCOMPARE(model.data(model.index(0, send)).toInt(), 1);
    QVERIFY(!model.data(model.index(0, birth)).isValid()); // NULL shows empty
    QCOMPARE(model.data(model.index(0, send), Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight,
             Qt::AlignRight);
    model.setDisplayHook([](const DataSet &ds, int row, int column, const QVariant &value) -> QVariant {
      if (ds.fields()[column].name == "SEND" && value.toInt() == 3)
        return QStringLiteral("Доставлено");
      Q_UNUSED(row);
      return QVariant();
    });
    QCOMPARE(model.data(model.index(2, send)).toString(), QStringLiteral("Доставлено"));
    QCOMPARE(model.data(model.index(1, send)).toInt(), 2);
    QCOMPARE(model.data(model.index(2, send), Qt::EditRole).toInt(), 3);
  }

  void theCurrentRowFollowsTheViewAndBack() {
    DataSetModel model(&m->IBContacts);
    QItemSelectionModel selection(&model);
    model.attachSelectionModel(&selection);
    QCOMPARE(selection.currentIndex().row(), 0);
    selection.setCurrentIndex(model.index(5, 1), QItemSelectionModel::ClearAndSelect);
    QCOMPARE(m->IBContacts.currentRow(), 5);
    m->IBContacts.setCurrentRow(7);
    QCOMPARE(selection.currentIndex().row(), 7);
    QCOMPARE(selection.currentIndex().column(), 1);
    // Choosing another group reloads the contacts and the view follows.
    m->IBGroups.first();
    QCOMPARE(model.rowCount(), 5);
    QCOMPARE(selection.currentIndex().row(), 0);
  }
};

QTEST_GUILESS_MAIN(TestFetch)
#include "test_fetch.moc"
