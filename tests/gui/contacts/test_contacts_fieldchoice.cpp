// The field choice dialog in its visibility mode, opened by the fields button of the
// contacts page: ticks as stored, tick all and untick all, and OK storing FVISIBLE row by
// row while the grid shows or hides its columns at once.
#include "ContactsFixture.h"

#include "common/IniFile.h"
#include "data/DatabaseError.h"
#include "data/Query.h"
#include "data/contacts/ContactGrid.h"
#include "gui/contacts/ContactsPage.h"
#include "gui/contacts/TFListVis.h"

#include "support/ModalAnswer.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {
// Runs answer on the field choice dialog once the fields button has opened it.
void whenFieldChoiceOpens(std::function<void(TFListVis &)> answer) {
  whenModalOpens<TFListVis>(std::move(answer), "the field choice dialog");
}

QList<bool> parseTicks(const QString &pattern) {
  QList<bool> ticks;
  for (QChar c : pattern)
    ticks << (c == u'x');
  return ticks;
}
} // namespace

class FieldChoiceTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TestDatabase> db;
  std::unique_ptr<ContactsFixture> f;

  QList<int> storedVisibility() {
    QList<int> out;
    for (int id = 1; id <= 12; ++id)
      out << f->scalar("SELECT FVISIBLE FROM RB_FIELDS WHERE ID = :ID", {{"ID", id}}).toInt();
    return out;
  }
  QList<bool> gridShows() {
    QList<bool> out;
    for (const contact_grid::Column &column : contact_grid::columns())
      out << f->controller().isColumnShown(column.field);
    return out;
  }
  QList<bool> openAndRead() {
    QList<bool> ticks;
    whenFieldChoiceOpens([&](TFListVis &d) {
      ticks = d.ticks();
      d.Button1->click();
    });
    f->window->TS1->tbFields->click();
    return ticks;
  }

private slots:
  void initTestCase() { db = std::make_unique<TestDatabase>(); }
  void init() { f = std::make_unique<ContactsFixture>(*db); }
  void cleanup() { f.reset(); }
  void cleanupTestCase() { db.reset(); }

  // Fixed captions; one entry per descriptor row, named from [Fields] of the language file.
  void listsTheFieldsByDescriptor() {
    f->execute("UPDATE RB_FIELDS SET FVISIBLE = CASE WHEN ID IN (2, 5) THEN 0 WHEN ID = 7 THEN 2 "
               "WHEN ID = 9 THEN NULL ELSE 1 END");
    const IniFile english(f->folder.filePath("langs/English.ini"));
    QStringList texts;
    QList<bool> ticks;
    QString caption, tickAll, untickAll;
    whenFieldChoiceOpens([&](TFListVis &d) {
      texts = d.entryTexts();
      ticks = d.ticks();
      caption = d.windowTitle();
      tickAll = d.Button4->text();
      untickAll = d.Button3->text();
      d.Button1->click();
    });
    f->window->TS1->tbFields->click();
    QCOMPARE(caption, QStringLiteral("Список полей"));
    QCOMPARE(tickAll, QStringLiteral("Выбрать все"));
    QCOMPARE(untickAll, QStringLiteral("Снять все"));
    QCOMPARE(texts.size(), 12);
    const QStringList keys{"fPhone",  "fName", "fBirthDate", "fField1",   "fField2",   "fField3",
                           "fField4", "fSend", "fDateSend",  "fTimeSend", "fPartSend", "fError"};
    for (int k = 0; k < 12; ++k)
      QCOMPARE(texts[k], english.readString("Fields", keys[k]));
    QCOMPARE(ticks, parseTicks("x-xx-x-x-xxx"));
  }

  void okStoresAndShowsAtOnce_data() {
    QTest::addColumn<QString>("action"); // steps joined by ';': "untick:k,k...", "all", "none"
    QTest::addColumn<QString>("expected");
    QTest::newRow("untick the name") << "untick:1"
                                     << "x-xxxxxxxxxx";
    QTest::newRow("untick phone and error") << "untick:0,11"
                                            << "-xxxxxxxxxx-";
    QTest::newRow("untick all") << "none"
                                << "------------";
    QTest::newRow("untick all, tick all") << "none;all"
                                          << "xxxxxxxxxxxx";
  }
  void okStoresAndShowsAtOnce() {
    QFETCH(QString, action);
    QFETCH(QString, expected);
    const QList<bool> want = parseTicks(expected);
    const int group = f->addGroup("G", 1);
    f->selectGroup(group);
    whenFieldChoiceOpens([&](TFListVis &d) {
      for (const QString &step : action.split(';')) {
        if (step == "none")
          d.Button3->click();
        else if (step == "all")
          d.Button4->click();
        else
          for (const QString &k : step.mid(7).split(','))
            d.setTicked(k.toInt(), false);
      }
      d.Button2->click();
    });
    f->window->TS1->tbFields->click();
    QCOMPARE(gridShows(), want);
    QList<int> stored;
    for (bool w : want)
      stored << (w ? 1 : 0);
    QCOMPARE(storedVisibility(), stored);
    // Showing the page again keeps what was chosen, and so does the next opening.
    f->window->lbContactsClick(f->window->lbTemplate);
    f->window->lbContactsClick(f->window->lbContacts);
    QCOMPARE(gridShows(), want);
    QCOMPARE(openAndRead(), want);
  }

  void cancelStoresNothing() {
    whenFieldChoiceOpens([&](TFListVis &d) {
      d.Button3->click();
      d.Button1->click();
    });
    f->window->TS1->tbFields->click();
    QCOMPARE(storedVisibility(), QList<int>(12, 1));
    QCOMPARE(gridShows(), QList<bool>(12, true));
  }

  // A row held by another transaction refuses its update: the error travels on to the
  // general error report, the rows before it stay stored and the rest keep their values.
  void refusedUpdateStopsAtItsField() {
    Transaction other(f->module->KyvBase);
    Query hold(other, "UPDATE RB_FIELDS SET FWIDTH = FWIDTH WHERE ID = 5");
    hold.execute();
    QList<int> shownOrHidden;
    TFListVis dialog(field_choice::Mode::Visibility, f->module->IBFields);
    dialog.showGridColumn = [&](int column, bool) { shownOrHidden << column; };
    dialog.Button3Click();
    QVERIFY_THROWS_EXCEPTION(DatabaseError, dialog.done(QDialog::Accepted));
    other.rollback();
    QCOMPARE(storedVisibility(), QList<int>({0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1}));
    QCOMPARE(shownOrHidden, QList<int>({0, 1, 2, 3, 4}));
    // The descriptor rows were read again: they show what is stored.
    QVERIFY(f->module->IBFields.locate("ID", 4));
    QCOMPARE(f->module->IBFields.value("FVISIBLE").toInt(), 0);
  }

  void exportModesOpenAllTicked_data() {
    QTest::addColumn<int>("mode");
    QTest::newRow("CSV") << 1;
    QTest::newRow("spreadsheet") << 2;
  }
  void exportModesOpenAllTicked() {
    QFETCH(int, mode);
    f->execute("UPDATE RB_FIELDS SET FVISIBLE = 0 WHERE ID IN (1, 3)");
    TFListVis dialog(field_choice::Mode(mode), f->module->IBFields);
    QCOMPARE(dialog.ticks(), QList<bool>(12, true));
    QList<bool> handed;
    dialog.exportWork = [&](const TFListVis &d) { handed = d.ticks(); };
    dialog.setTicked(4, false);
    dialog.accept();
    QCOMPARE(handed, parseTicks("xxxx-xxxxxxx"));
    QCOMPARE(storedVisibility(), QList<int>({0, 1, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1}));
  }
};

QTEST_MAIN(FieldChoiceTest)
#include "test_contacts_fieldchoice.moc"
