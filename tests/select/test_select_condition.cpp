// The filter builder's condition text: the field and operator lists, the rows and the
// conjunction, and what each condition selects when the contact list runs it.
#include "SelectFixture.h"

#include "select/FilterBuilder.h"
#include "select/FilterChoices.h"
#include "select/FormFilter.h"

#include <QTest>

using Rows = QList<FilterRow>;
Q_DECLARE_METATYPE(Rows)
Q_DECLARE_METATYPE(Conjunction)

namespace {

// Positions in RB_FIELDS.
constexpr int PHONE = 0, NAME = 1, BIRTHDATE = 2, SEND = 7;
const FilterRow none;

FilterRow row(int field, int oper, const QString &value) {
  return FilterRow{field, oper, value};
}

const QStringList fieldNames{"PHONE",  "NAME", "BIRTHDATE", "DFIELD",   "EFIELD",   "FFIELD",
                             "GFIELD", "SEND", "DATESEND",  "TIMESEND", "PARTSEND", "FERROR"};

} // namespace

class TestCondition : public QObject {
  Q_OBJECT

  std::unique_ptr<SelectFixture> f;

private slots:
  void init() { f = std::make_unique<SelectFixture>(); }
  void cleanup() { f.reset(); }

  void fieldNamesFollowTheDescriptorTable() {
    QCOMPARE(readFieldNames(f->module.IBFields), fieldNames);
    f->module.IBFields.setCurrentRow(3);
    const FilterChoices choices = FilterChoices::read(f->module.IBFields, f->module.IBOper, "English");
    QCOMPARE(f->module.IBFields.currentRow(), 3); // the contacts grid's descriptors stay put
    QCOMPARE(choices.fieldNames, fieldNames);
    QCOMPARE(choices.fieldCaptions.size(), fieldNames.size());
    QCOMPARE(choices.fieldCaptions.first(), "Phone");
    QCOMPARE(choices.fieldCaptions.last(), "Error code");
    QCOMPARE(choices.operatorCaptions,
             QStringList({"equals", "does not equal", "contains", "greater than", "less than"}));
  }

  void aCaptionTheLanguageLacksKeepsItsPlace() {
    f->folder.writeText("langs/Partial.ini", "[Fields]\r\nfName=Имя\r\n[Operations]\r\nopLess=меньше\r\n");
    const FilterChoices choices = FilterChoices::read(f->module.IBFields, f->module.IBOper, "Partial");
    QCOMPARE(choices.fieldCaptions.size(), fieldNames.size());
    QCOMPARE(choices.fieldCaptions.count(QString()), fieldNames.size() - 1);
    QCOMPARE(choices.fieldCaptions.at(NAME), QStringLiteral("Имя"));
    QCOMPARE(choices.operatorCaptions, QStringList({"", "", "", "", QStringLiteral("меньше")}));
  }

  void conditionText_data() {
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<Conjunction>("conjunction");
    QTest::addColumn<QString>("text");
    const auto And = Conjunction::And, Or = Conjunction::Or;
    QTest::newRow("no rows") << Rows{none, none, none, none, none} << And << "";
    QTest::newRow("rows 2 and 4, OR")
        << Rows{none, row(NAME, OpEqual, "A"), none, row(PHONE, OpNotEqual, "B"), none} << Or
        << "(NAME = 'A') OR (PHONE <> 'B')";
    QTest::newRow("row 3 alone") << Rows{none, none, row(NAME, OpEqual, "A"), none, none} << Or
                                 << "(NAME = 'A')";
    QTest::newRow("all five, AND")
        << Rows{row(PHONE, OpEqual, "1"), row(NAME, OpNotEqual, "2"), row(NAME, OpContains, "3"),
                row(SEND, OpGreater, "4"), row(SEND, OpLess, "5")}
        << And
        << "(PHONE = '1') AND (NAME <> '2') AND (NAME LIKE '%3%') AND (SEND > '4') "
           "AND (SEND < '5')";
    QTest::newRow("one blank is a value") << Rows{row(NAME, OpEqual, " ")} << And << "(NAME = ' ')";
    QTest::newRow("contains 9") << Rows{row(PHONE, OpContains, "9")} << And << "(PHONE LIKE '%9%')";
    QTest::newRow("date, greater") << Rows{row(BIRTHDATE, OpGreater, "01.01.2000")} << And
                                   << "(BIRTHDATE > '01.01.2000')";
    QTest::newRow("value as typed, no trimming")
        << Rows{row(NAME, OpEqual, " Ivan  ")} << And << "(NAME = ' Ivan  ')";
    QTest::newRow("apostrophe doubled")
        << Rows{row(NAME, OpEqual, "O'Brien")} << And << "(NAME = 'O''Brien')";
    QTest::newRow("break-out stays inside its literal")
        << Rows{row(NAME, OpEqual, "x') OR (1=1")} << And << "(NAME = 'x'') OR (1=1')";
    QTest::newRow("wildcards of contains stay")
        << Rows{row(NAME, OpContains, "I_a%")} << And << "(NAME LIKE '%I_a%%')";
    QTest::newRow("rows lacking a part add nothing")
        << Rows{row(-1, OpEqual, "a"), row(NAME, -1, "b"), row(NAME, OpEqual, ""), row(NAME, OpEqual, "d"),
                none}
        << Or << "(NAME = 'd')";
    QTest::newRow("operator beyond the five")
        << Rows{row(NAME, 5, "a"), row(NAME, OpLess, "b")} << And << "(NAME < 'b')";
    QTest::newRow("field beyond the list") << Rows{row(12, OpEqual, "a")} << And << "";
  }
  void conditionText() {
    QFETCH(Rows, rows);
    QFETCH(Conjunction, conjunction);
    QFETCH(QString, text);
    QCOMPARE(FormFilter(fieldNames, rows, conjunction), text);

    // The same rows typed into the builder.
    FilterBuilder builder(fieldNames);
    for (int i = 0; i < rows.size(); ++i) {
      builder.setField(i, rows[i].field);
      builder.setOperator(i, rows[i].oper);
      builder.setValue(i, rows[i].value);
    }
    builder.cbOrClick(conjunction == Conjunction::Or);
    QCOMPARE(builder.FormFilter(), text);
  }

  void theConjunctionBoxesStayExclusive() {
    FilterBuilder builder(fieldNames);
    QVERIFY(builder.andTicked() && !builder.orTicked());
    QCOMPARE(builder.FormFilter(), QString());
    builder.setField(0, NAME);
    builder.setOperator(0, OpEqual);
    builder.setValue(0, "A");
    builder.setField(4, NAME);
    builder.setOperator(4, OpEqual);
    builder.setValue(4, "B");
    const QString andText = "(NAME = 'A') AND (NAME = 'B')", orText = "(NAME = 'A') OR (NAME = 'B')";
    QCOMPARE(builder.FormFilter(), andText);
    builder.cbAndClick(false);
    QVERIFY(!builder.andTicked() && builder.orTicked());
    QCOMPARE(builder.FormFilter(), orText);
    builder.cbOrClick(false);
    QVERIFY(builder.andTicked() && !builder.orTicked());
    builder.cbOrClick(true);
    QVERIFY(!builder.andTicked() && builder.orTicked());
    builder.cbAndClick(true);
    QCOMPARE(builder.FormFilter(), andText);
  }

  // Each condition applied to the contact list of group 1, as the builder's OK does.
  void conditionsSelectTheirContacts_data() {
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<Conjunction>("conjunction");
    QTest::addColumn<QStringList>("names");
    const auto And = Conjunction::And, Or = Conjunction::Or;
    QTest::newRow("equal") << Rows{row(NAME, OpEqual, "Ivan")} << And << QStringList{"Ivan"};
    QTest::newRow("a name with an apostrophe")
        << Rows{row(NAME, OpEqual, "O'Brien")} << And << QStringList{"O'Brien"};
    QTest::newRow("break-out finds only the literal")
        << Rows{row(NAME, OpEqual, "x') OR (1=1")} << And << QStringList{"x') OR (1=1"};
    QTest::newRow("break-out with a comment")
        << Rows{row(NAME, OpEqual, "x') OR 1=1 --")} << And << QStringList{};
    QTest::newRow("contains 9") << Rows{row(PHONE, OpContains, "9")} << And << QStringList{"Anna", "Ivan"};
    QTest::newRow("date, greater") << Rows{row(BIRTHDATE, OpGreater, "2000-01-01")} << And
                                   << QStringList{"O'Brien"};
    QTest::newRow("rows 2 and 4, OR, inside the group")
        << Rows{none, row(NAME, OpEqual, "Ivan"), none, row(NAME, OpEqual, "Anna"), none} << Or
        << QStringList{"Anna", "Ivan"};
    QTest::newRow("AND") << Rows{row(NAME, OpContains, "n"), row(PHONE, OpContains, "9")} << And
                         << QStringList{"Anna", "Ivan"};
    QTest::newRow("underscore is a wildcard")
        << Rows{row(NAME, OpContains, "I_a")} << And << QStringList{"Ivan"};
    QTest::newRow("one blank matches nobody") << Rows{row(NAME, OpEqual, " ")} << And << QStringList{};
    QTest::newRow("not equal") << Rows{row(NAME, OpNotEqual, "Ivan")} << And
                               << QStringList{"Anna", "O'Brien", "x') OR (1=1"};
  }
  void conditionsSelectTheirContacts() {
    QFETCH(Rows, rows);
    QFETCH(Conjunction, conjunction);
    QFETCH(QStringList, names);
    f->addGroup(1, "One");
    f->addGroup(2, "Two");
    f->addContact(1, "Ivan", "+79161234567", "1985-03-14");
    f->addContact(1, "O''Brien", "+35312345", "2001-02-28");
    f->addContact(1, "Anna", "+79001112233", "1999-12-31");
    f->addContact(1, "x'') OR (1=1", "0", "1970-01-01");
    f->addContact(2, "Ivan", "+79160000000", "2005-05-05");
    f->reload(1);

    const QString condition = FormFilter(fieldNames, rows, conjunction);
    QVERIFY(f->commands.applyBuilt(condition));
    QCOMPARE(f->listedNames(), names);
    QCOMPARE(f->selection.currentFilter(), condition);
    QVERIFY(f->dialogs.shown.isEmpty());
  }
};

QTEST_GUILESS_MAIN(TestCondition)
#include "test_select_condition.moc"
