// The address book and mailbox imports of the import menu, on the contacts page of the main
// window: the address book from a vCard file after the question, the mailbox through a real
// POP3 server (Dovecot started by the test) with the options row's account, and the messages
// told when the account is incomplete or the server is not ready. New contacts show in the
// grid at once.
#include "ExchangeTestFiles.h"
#include "ExchangeWindowFixture.h"
#include "LocalDovecot.h"
#include "ScriptedPop3.h"

#include "common/LangConstants.h"
#include "exchange/MailError.h"
#include "gui/contacts/ContactsPage.h"

#include <QFile>

namespace {
using Fixture = ExchangeWindowFixture;

QByteArray message(const QByteArray &subjectLine, int n) {
  return "From: sender@example.org\r\nTo: box1@example.org\r\n" + subjectLine +
         "Date: Mon, 4 Mar 2024 10:00:00 +0300\r\nMessage-ID: <m" + QByteArray::number(n) +
         "@example.org>\r\n\r\nThe body is never read.\r\n";
}

// The cards of a vCard data file as the import stores them: "NAME|PHONE" per card.
QStringList expectedCards(const QString &name) {
  QStringList out;
  for (QString line : QString::fromUtf8(exchangeData(name)).split(u'\n', Qt::SkipEmptyParts)) {
    line.remove(u'\r');
    out << line.section(u'\t', 1, 1) + u'|' + line.section(u'\t', 0, 0);
  }
  return out;
}
} // namespace

class ImportMenuTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TestDatabase> db;
  std::unique_ptr<LocalDovecot> server;
  std::unique_ptr<Fixture> f;
  int group = 0;

  void setAccount(const QVariant &server, const QVariant &login, const QVariant &password) {
    f->execute("UPDATE RB_OPTIONS SET EMPOP = :S, EMLOGIN = :L, EMPASS = :P",
               {{"S", server}, {"L", login}, {"P", password}});
    f->module->IBOptions.refresh();
  }

private slots:
  void initTestCase() {
    qputenv("no_proxy", "127.0.0.1,localhost");
    qputenv("NO_PROXY", "127.0.0.1,localhost");
    db = std::make_unique<TestDatabase>();
    try {
      server = std::make_unique<LocalDovecot>(QStringLiteral("box1"), QStringLiteral("secret"));
    } catch (const std::exception &e) {
      QFAIL(e.what());
    }
    int n = 0;
    for (const QByteArray &subject :
         {QByteArray("Subject: +79001112233\r\n"),
          QByteArray("Subject: =?UTF-8?B?0KLQtdC7LiA4OTAwMTExMjIzMw==?=\r\n"), QByteArray("Subject:\r\n")})
      server->deliver(message(subject, ++n));
  }
  void init() {
    f = std::make_unique<Fixture>(*db);
    group = f->currentGroup();
  }
  void cleanup() {
    QCOMPARE(f->dialogs.waitCursorDepth, 0);
    if (QTest::currentTestFailed() && server)
      qWarning("%s", qPrintable(server->log()));
    f.reset();
  }
  void cleanupTestCase() {
    server.reset();
    db.reset();
  }

  // The question comes first; answered yes, the file dialog, then one contact per card in
  // file order with its first name and mobile number.
  void addressBookAnsweredYes_data() {
    QTest::addColumn<QString>("file");
    QTest::newRow("phone export, vCard 3.0") << "vcard/phone-export-3.0";
    QTest::newRow("vCard 2.1, quoted-printable cp1251") << "vcard/qp-windows-1251-2.1";
  }
  void addressBookAnsweredYes() {
    QFETCH(QString, file);
    f->dialogs.confirmAnswers << true;
    f->dialogs.fileAnswers << exchangeDataPath(file + ".vcf");
    f->window->TS1->pmMSOutlook->trigger();
    QCOMPARE(f->dialogs.shown.size(), 2);
    QCOMPARE(f->dialogs.shown[0].kind, QStringLiteral("confirm"));
    QCOMPARE(f->dialogs.shown[0].title, QStringLiteral("Brisklane"));
    QCOMPARE(f->dialogs.shown[0].text, LangConst().stQueryOutlook);
    QCOMPARE(f->dialogs.shown[1].kind, QStringLiteral("open"));
    const QStringList expected = expectedCards(file + ".expected");
    QVERIFY(!expected.isEmpty());
    QCOMPARE(f->rows(group), expected);
    const QStringList rest = f->rows(group, "BIRTHDATE, DFIELD, GFIELD, SEND");
    QCOMPARE(QSet<QString>(rest.begin(), rest.end()), QSet<QString>{"NULL|NULL|NULL|NULL"});
    QCOMPARE(f->gridColumn("PHONE").size(), expected.size());
  }

  // Answered no: no file dialog, nothing stored.
  void addressBookAnsweredNo() {
    f->dialogs.confirmAnswers << false;
    f->window->TS1->pmMSOutlook->trigger();
    QCOMPARE(f->dialogs.shown.size(), 1);
    QCOMPARE(f->dialogs.shown[0].kind, QStringLiteral("confirm"));
    QVERIFY(f->rows(group).isEmpty());
  }

  // Every message of the mailbox becomes a contact of the current group with its decoded
  // subject as the phone and an empty name; the messages stay, so a second import adds them
  // again.
  void mailboxImportsEveryMessage() {
    setAccount(server->address(), "box1", "secret");
    const QStringList once{"+79001112233|", QString::fromUtf8("Тел. 89001112233|"), "|"};
    f->window->TS1->pmEmail->trigger();
    QVERIFY2(f->dialogs.messageTexts().isEmpty(), qPrintable(f->dialogs.messageTexts().join('\n')));
    QCOMPARE(f->rows(group), once);
    QCOMPARE(f->gridColumn("PHONE"),
             (QStringList{"+79001112233", QString::fromUtf8("Тел. 89001112233"), ""}));
    QCOMPARE(server->messagesStored(), 3);
    f->window->TS1->pmEmail->trigger();
    QCOMPARE(f->rows(group), once + once);
  }

  // An account column left NULL: stEmail and no connection.
  void mailboxNotSetUp_data() {
    QTest::addColumn<QVariant>("server");
    QTest::addColumn<QVariant>("login");
    QTest::addColumn<QVariant>("password");
    QTest::newRow("no password") << QVariant("127.0.0.1:1") << QVariant("box1") << QVariant();
    QTest::newRow("no login") << QVariant("127.0.0.1:1") << QVariant() << QVariant("secret");
    QTest::newRow("no server") << QVariant() << QVariant("box1") << QVariant("secret");
  }
  void mailboxNotSetUp() {
    QFETCH(QVariant, server);
    QFETCH(QVariant, login);
    QFETCH(QVariant, password);
    ScriptedPop3 watch(greetingWith("+OK"));
    if (!server.isNull())
      server = QStringLiteral("127.0.0.1:%1").arg(watch.port());
    setAccount(server, login, password);
    f->window->TS1->pmEmail->trigger();
    QCOMPARE(f->dialogs.messageTexts(), QStringList{LangConst().stEmail});
    QCOMPARE(f->dialogs.shown.first().icon, Dialogs::Icon::Information);
    QCOMPARE(watch.connections(), 0);
    QVERIFY(f->rows(group).isEmpty());
  }

  // A server that does not greet with +OK: stServerError, nothing stored.
  void serverNotReady() {
    ScriptedPop3 busy(greetingWith("-ERR server busy"));
    setAccount(QStringLiteral("127.0.0.1:%1").arg(busy.port()), "box1", "secret");
    f->window->TS1->pmEmail->trigger();
    QCOMPARE(f->dialogs.messageTexts(), QStringList{LangConst().stServerError});
    QVERIFY(f->rows(group).isEmpty());
  }

  // A wrong password is the mail layer's error, thrown to the general error report.
  void wrongPasswordIsAnError() {
    setAccount(server->address(), "box1", "wrong");
    QVERIFY_THROWS_EXCEPTION(MailError, f->exchange().pmEmailClick());
    QVERIFY(f->rows(group).isEmpty());
  }

  // Without a current group neither import asks anything or connects.
  void noGroupAsksNothing() {
    setAccount(server->address(), "box1", "secret");
    f->execute("DELETE FROM LISTGROUPS");
    f->reload();
    f->window->TS1->pmMSOutlook->trigger();
    f->window->TS1->pmEmail->trigger();
    QCOMPARE(f->dialogs.messageTexts(), (QStringList{LangConst().stNoGroup, LangConst().stNoGroup}));
    QCOMPARE(f->dialogs.shown.size(), 2);
    QCOMPARE(f->scalar("SELECT COUNT(*) FROM CONTACTS").toInt(), 0);
  }
};

QTEST_MAIN(ImportMenuTest)
#include "test_exchange_import_menu.moc"
