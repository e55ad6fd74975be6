// The mailbox import against a real POP3 server (Dovecot started by the test) and a real
// contact database: subjects in the encodings mail programs use become phone numbers of the
// current group, the messages stay on the server, and every failure is told without losing
// what was imported before it.
#include "ImportFixture.h"
#include "LocalDovecot.h"
#include "ScriptedPop3.h"

#include "data/DatabaseError.h"
#include "exchange/MailError.h"
#include "exchange/MailboxAccount.h"
#include "exchange/MailboxImport.h"
#include "exchange/Pop3Client.h"
#include "exchange/StorableText.h"

#include <QTest>

#include <memory>

using namespace std::chrono_literals;

namespace {

QByteArray message(const QByteArray &subjectLine) {
  return "From: sender@example.org\r\nTo: box1@example.org\r\n" + subjectLine +
         "Date: Mon, 4 Mar 2024 10:00:00 +0300\r\nMessage-ID: <" + QByteArray::number(qHash(subjectLine)) +
         "@example.org>\r\n\r\nThe body is never read.\r\n.\r\nStill the body.\r\n";
}

// Every subject shape of the import, in delivery order, with the phone text it gives.
const QList<std::pair<QByteArray, QString>> subjects = {
    {"Subject: +79001234567\r\n", QStringLiteral("+79001234567")},
    {"Subject: =?UTF-8?B?0KLQtdC7LiA4OTAwMTExMjIzMw==?=\r\n", QString::fromUtf8("Тел. 89001112233")},
    {"Subject: =?UTF-8?Q?=D0=98=D0=B2=D0=B0=D0=BD_8900?=\r\n", QString::fromUtf8("Иван 8900")},
    {"Subject: =?KOI8-R?B?s9YgODkwMQ==?=\r\n", QString::fromUtf8("Ёж 8901")},
    {"Subject: =?KOI8-R?Q?=E9=D7=C1=CE_8902?=\r\n", QString::fromUtf8("Иван 8902")},
    {"Subject: =?windows-1251?B?z7jy8CA4OTEx?=\r\n", QString::fromUtf8("Пётр 8911")},
    {"Subject: =?windows-1251?Q?=D9=F3=EA=E0_8912?=\r\n", QString::fromUtf8("Щука 8912")},
    {"Subject:\r\n", QString()},
    {"", QString()}, // no Subject header at all
};

MailboxAccount account(const QString &server, const QString &password = QStringLiteral("secret")) {
  return {QStringLiteral("box1"), password, server};
}

} // namespace

class MailboxImportTest : public QObject {
  Q_OBJECT

  std::unique_ptr<LocalDovecot> server;
  std::unique_ptr<ImportFixture> f;

  MailboxImport importer(const mail::MailTimeouts &timeouts = {}) {
    return MailboxImport(f->db, f->dialogs, f->texts, timeouts);
  }
  QStringList expectedRows(int rounds) const {
    QStringList rows;
    for (int r = 0; r < rounds; ++r)
      for (const auto &s : subjects)
        rows << s.second + QStringLiteral("||NULL|NULL|NULL|NULL|NULL|NULL|NULL|NULL|NULL|NULL");
    return rows;
  }

private slots:
  void initTestCase() {
    qputenv("no_proxy", "127.0.0.1,localhost");
    qputenv("NO_PROXY", "127.0.0.1,localhost");
    try {
      server = std::make_unique<LocalDovecot>(QStringLiteral("box1"), QStringLiteral("secret"));
    } catch (const std::exception &e) {
      QFAIL(e.what());
    }
    for (const auto &s : subjects)
      server->deliver(message(s.first));
  }
  void init() { f = std::make_unique<ImportFixture>(); }
  void cleanup() {
    if (QTest::currentTestFailed())
      qWarning("%s", qPrintable(server->log().right(3000)));
    f.reset();
  }
  void cleanupTestCase() { server.reset(); }

  // Each message a contact of the current group, in mailbox order, NAME empty text, every
  // other column NULL; the messages stay, so the second import adds them all again.
  void importsEveryMessageAndLeavesThemOnTheServer() {
    const MailboxImport::Result first = importer().run(account(server->address()), f->group, f->refresh);
    QCOMPARE(first.outcome, MailboxImport::Outcome::Imported);
    QCOMPARE(first.contacts, int(subjects.size()));
    QCOMPARE(f->contacts(f->group), expectedRows(1));
    QCOMPARE(f->refreshes, 1);
    QCOMPARE(f->dialogs.waitCursorDepth, 0);
    QVERIFY(f->dialogs.shown.isEmpty());

    QCOMPARE(server->messagesStored(), int(subjects.size()));
    mail::Pop3Client check;
    check.open(mail::Pop3Address::parse(server->address()), QStringLiteral("box1"), QStringLiteral("secret"));
    QCOMPARE(check.messageCount(), int(subjects.size()));
    check.close();

    importer().run(account(server->address()), f->group, f->refresh);
    QCOMPARE(f->contacts(f->group), expectedRows(2));
    QVERIFY(f->contacts(f->otherGroup).isEmpty());
  }

  void wrongPasswordIsReportedWithTheServerText() {
    try {
      importer().run(account(server->address(), QStringLiteral("wrong")), f->group, f->refresh);
      QFAIL("a wrong password imported");
    } catch (const MailError &e) {
      QVERIFY2(e.text().contains(QStringLiteral("refused the login of \"box1\"")), qPrintable(e.text()));
      QVERIFY2(e.text().contains(QStringLiteral("-ERR")), qPrintable(e.text()));
    }
    QVERIFY(f->contacts(f->group).isEmpty());
    QCOMPARE(f->refreshes, 1);
    QCOMPARE(f->dialogs.waitCursorDepth, 0);
    QCOMPARE(server->messagesStored(), int(subjects.size()));
  }

  // Any of the three columns NULL: stEmail and no connection attempt.
  void accountNotSetUp_data() {
    QTest::addColumn<bool>("login");
    QTest::addColumn<bool>("password");
    QTest::addColumn<bool>("address");
    QTest::newRow("no login") << false << true << true;
    QTest::newRow("no password") << true << false << true;
    QTest::newRow("no server") << true << true << false;
    QTest::newRow("none") << false << false << false;
  }
  void accountNotSetUp() {
    QFETCH(bool, login);
    QFETCH(bool, password);
    QFETCH(bool, address);
    ScriptedPop3 watch(Pop3Script{});
    MailboxAccount a = account(QStringLiteral("127.0.0.1:%1").arg(watch.port()));
    if (!login)
      a.login.reset();
    if (!password)
      a.password.reset();
    if (!address)
      a.server.reset();
    const MailboxImport::Result result = importer().run(a, f->group, f->refresh);
    QCOMPARE(result.outcome, MailboxImport::Outcome::NotConfigured);
    QCOMPARE(f->dialogs.messageTexts(), QStringList{f->texts.stEmail});
    QCOMPARE(f->dialogs.shown.first().title, QStringLiteral("Brisklane"));
    QCOMPARE(f->dialogs.shown.first().icon, Dialogs::Icon::Information);
    QCOMPARE(watch.connections(), 0);
    QCOMPARE(f->refreshes, 0);
  }

  void serverNotReadyShowsServerError() {
    ScriptedPop3 busy(greetingWith("-ERR server busy"));
    const MailboxImport::Result result =
        importer({300ms, 300ms})
            .run(account(QStringLiteral("127.0.0.1:%1").arg(busy.port())), f->group, f->refresh);
    QCOMPARE(result.outcome, MailboxImport::Outcome::ServerNotReady);
    QCOMPARE(f->dialogs.messageTexts(), QStringList{f->texts.stServerError});
    QCOMPARE(f->refreshes, 1);
    QCOMPARE(f->dialogs.waitCursorDepth, 0);
    QVERIFY(f->contacts(f->group).isEmpty());
  }

  void silentServerEndsWithAnError() {
    ScriptedPop3 silent(silentServer());
    QVERIFY_THROWS_EXCEPTION(MailError, importer({300ms, 300ms})
                                            .run(account(QStringLiteral("127.0.0.1:%1").arg(silent.port())),
                                                 f->group, f->refresh));
    QCOMPARE(f->refreshes, 1);
    QCOMPARE(f->dialogs.waitCursorDepth, 0);
  }

  // The third subject is refused: the two before it stay, nothing after it is stored.
  void refusedSubjectStopsTheImport_data() {
    QTest::addColumn<QByteArray>("subject");
    QTest::addColumn<QString>("error");
    QTest::newRow("longer than PHONE") << QByteArray("Subject: 123456789012345678901\r\n") << "DatabaseError";
    QTest::newRow("outside cp1251") << QByteArray("Subject: =?UTF-8?B?5pel5pys?=\r\n") << "ImportTextError";
  }
  void refusedSubjectStopsTheImport() {
    QFETCH(QByteArray, subject);
    QFETCH(QString, error);
    ScriptedPop3 box(servingMessages(
        {message("Subject: 1\r\n"), message("Subject: 2\r\n"), message(subject), message("Subject: 4\r\n")}));
    try {
      importer().run(account(QStringLiteral("127.0.0.1:%1").arg(box.port())), f->group, f->refresh);
      QFAIL("the refused subject was stored");
    } catch (const AppError &e) {
      QCOMPARE(e.className(), error);
      if (error == QStringLiteral("ImportTextError"))
        QVERIFY2(e.text().contains(QStringLiteral("message 3")) && e.text().contains(QString::fromUtf8("日")),
                 qPrintable(e.text()));
    }
    QCOMPARE(f->phonesAndNames(f->group), (QStringList{QStringLiteral("1|"), QStringLiteral("2|")}));
    QCOMPARE(f->refreshes, 1);
    QVERIFY(box.received().endsWith("QUIT\r\n"));
    QVERIFY(!box.received().contains("RETR 4"));
    QVERIFY(!box.received().contains("DELE"));
  }

  void badServerAddressIsRefusedBeforeConnecting() {
    QVERIFY_THROWS_EXCEPTION(MailError,
                             importer().run(account(QStringLiteral("host:port")), f->group, f->refresh));
    QCOMPARE(f->refreshes, 0);
    QCOMPARE(f->dialogs.waitCursorDepth, 0);
  }
};

QTEST_GUILESS_MAIN(MailboxImportTest)
#include "test_exchange_mailbox.moc"
