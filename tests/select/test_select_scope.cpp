// The recipient scope of the message page and the filter in force, as the preview and the
// dispatch read them.
#include "SelectFixture.h"

#include <QSignalSpy>
#include <QTest>

class TestScope : public QObject {
  Q_OBJECT

private slots:
  // Steps: "cbAll+" / "cbAll-" / "cbGroup+" / "cbGroup-" (the box clicked to ticked or
  // unticked, group N current in the group list), or "choose" (group N picked in the list).
  void theScopeBoxesStayExclusive_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QList<int>>("currentGroups");
    QTest::addColumn<bool>("group");
    QTest::addColumn<QVariant>("groupId");
    QTest::newRow("at start") << QStringList{} << QList<int>{} << false << QVariant();
    QTest::newRow("ticking cbGroup") << QStringList{"cbGroup+"} << QList<int>{5} << true << QVariant(5);
    QTest::newRow("unticking cbAll") << QStringList{"cbAll-"} << QList<int>{5} << true << QVariant(5);
    QTest::newRow("ticking cbAll") << QStringList{"cbGroup+", "cbAll+"} << QList<int>{5, 5} << false
                                   << QVariant();
    QTest::newRow("unticking cbGroup")
        << QStringList{"cbGroup+", "cbGroup-"} << QList<int>{5, 5} << false << QVariant();
    QTest::newRow("another group picked")
        << QStringList{"cbGroup+", "choose"} << QList<int>{5, 7} << true << QVariant(7);
    QTest::newRow("picking while all groups are ticked")
        << QStringList{"choose"} << QList<int>{7} << false << QVariant();
    QTest::newRow("ticking cbGroup again takes the current group")
        << QStringList{"cbGroup+", "choose", "cbGroup+"} << QList<int>{5, 7, 6} << true << QVariant(6);
    QTest::newRow("no current group") << QStringList{"cbGroup+"} << QList<int>{-1} << true << QVariant();
  }
  void theScopeBoxesStayExclusive() {
    QFETCH(QStringList, steps);
    QFETCH(QList<int>, currentGroups);
    QFETCH(bool, group);
    QFETCH(QVariant, groupId);
    RecipientSelection selection;
    for (int i = 0; i < steps.size(); ++i) {
      const QVariant current = currentGroups[i] >= 0 ? QVariant(currentGroups[i]) : QVariant();
      const QString &step = steps[i];
      if (step == "choose")
        selection.chooseGroup(current);
      else if (step.startsWith("cbAll"))
        selection.cbAllClick(step.endsWith('+'), current);
      else
        selection.cbGroupClick(step.endsWith('+'), current);
    }
    QCOMPARE(selection.groupTicked(), group);
    QCOMPARE(selection.allTicked(), !group);
    QCOMPARE(selection.groupId(), groupId);
    const RecipientScope scope = selection.scope();
    QCOMPARE(scope.group, group);
    QCOMPARE(scope.all, !group);
    QCOMPARE(scope.groupId, groupId);
  }

  void changesAreAnnounced() {
    RecipientSelection selection;
    QSignalSpy scope(&selection, &RecipientSelection::scopeChanged);
    QSignalSpy filter(&selection, &RecipientSelection::currentFilterChanged);
    selection.cbAllClick(true, 5); // already so
    selection.cbGroupClick(true, 5);
    selection.chooseGroup(5); // the same group
    QCOMPARE(scope.size(), 1);
    selection.setCurrentFilter("(NAME = 'A')");
    selection.setCurrentFilter("(NAME = 'A')");
    selection.clearCurrentFilter();
    QCOMPARE(filter.size(), 2);
    QCOMPARE(filter.last().first().toString(), QString());
  }

  void theDispatchQueryFollowsTheScopeAndTheFilter() {
    SelectFixture f;
    f.addGroup(5, "Five");
    f.addGroup(6, "Six");
    for (const char *name : {"A", "B", "C"}) {
      f.addContact(5, name);
      f.addContact(6, name);
    }
    f.reload(5);
    const QString filter = "(NAME = 'A') OR (NAME = 'B')";
    QVERIFY(f.commands.applyBuilt(filter));
    QCOMPARE(f.selection.currentFilter(), filter);
    const QString columns = "ID, NAME";

    // All groups: the condition built while group 5 was shown reaches group 6 too.
    QCOMPARE(f.selection.recipientQuery(columns), "SELECT ID, NAME FROM CONTACTS WHERE (" + filter + ")");
    QCOMPARE(f.namesOf(f.selection.recipientQuery(columns)), QStringList({"A", "A", "B", "B"}));

    // One group: the group current in the group list.
    f.selection.cbGroupClick(true, f.module.IBGroups.value("ID"));
    QCOMPARE(f.selection.recipientQuery(columns),
             "SELECT ID, NAME FROM CONTACTS WHERE IDGROUP = 5 AND (" + filter + ")");
    QCOMPARE(f.namesOf(f.selection.recipientQuery(columns)), QStringList({"A", "B"}));
    // The count covers the whole scope.
    QCOMPARE(f.selection.countQuery(columns), "SELECT ID, NAME FROM CONTACTS WHERE IDGROUP = 5");

    f.commands.BreakFiltClick();
    QCOMPARE(f.selection.recipientQuery(columns), "SELECT ID, NAME FROM CONTACTS WHERE IDGROUP = 5");
    QCOMPARE(f.namesOf(f.selection.recipientQuery(columns)), QStringList({"A", "B", "C"}));
  }
};

QTEST_GUILESS_MAIN(TestScope)
#include "test_select_scope.moc"
