// Several operators on one contact database on a Firebird server, each a process of its own
// (tests-bin/bl_operator_process) with the program's data module and cores: one edits
// contacts, one adds a group and imports, one runs a delivery-refresh pass, the dispatch's
// reset or a whole gateway dispatch against a local gateway. A lock conflict fails at once ("nowait") with
// the server's text, the loser's row is not half-written, the winner's change is not lost, and every program
// sees the others' committed work when it reads its lists again. The login is the operator's own, from the
// per-user settings.
#include "GatewayFolder.h"
#include "LocalGateway.h"
#include "support/ContactTable.h"
#include "support/LocalFirebirdServer.h"

#include "data/Attachment.h"
#include "data/DatabaseCreator.h"
#include "data/DatabaseError.h"
#include "data/DbSettings.h"
#include "data/Query.h"
#include "data/Transaction.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <condition_variable>
#include <memory>
#include <mutex>

namespace {

const DbLogin operatorLogin{QStringLiteral("SYSDBA"), QStringLiteral("Operators'own-1")};

// One operator's program, answering one line per command.
class OperatorProcess {
public:
  explicit OperatorProcess(const QString &name) : name_(name) {
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(qEnvironmentVariable("BL_TESTS_BIN_DIR") + QStringLiteral("/bl_operator_process"), {});
  }
  ~OperatorProcess() {
    process_.write("quit\n");
    process_.closeWriteChannel();
    if (!process_.waitForFinished(30000))
      process_.kill();
  }

  // The answer; a program that does not answer (a wait on a lock, say) fails the test.
  QString say(const QString &command) {
    process_.write(command.toUtf8() + '\n');
    while (!process_.canReadLine())
      if (!process_.waitForReadyRead(60000)) {
        QTest::qFail(qPrintable(name_ + QStringLiteral(" gave no answer to: ") + command), __FILE__,
                     __LINE__);
        return QString();
      }
    return QString::fromUtf8(process_.readLine()).trimmed();
  }

private:
  QString name_;
  QProcess process_;
};

#define SAYS_OK(op, command)                                                                                 \
  do {                                                                                                       \
    const QString answer_ = (op).say(command);                                                               \
    QVERIFY2(answer_ == u"ok" || answer_.startsWith(u"ok "), qPrintable(QString(command) + ": " + answer_)); \
  } while (false)

// A gateway that accepts every message and holds its answer to the message numbered holdAt
// until released, so a dispatch stays in the middle of its run as long as a test needs.
class HeldGateway {
public:
  explicit HeldGateway(int holdAt) : folder_(gateway_.url()) {
    gateway_.setResponder([this, holdAt](const ReceivedRequest &request) {
      std::unique_lock lock(mutex_);
      phones_ << QString::fromUtf8(LocalGateway::argumentOf(request, "PhoneNumber"));
      const int n = int(phones_.size());
      if (n == holdAt)
        released_.wait(lock, [this] { return open_; });
      return LocalGateway::soapAnswer("SendSMS", {QString::number(100 + n), "0", "1"});
    });
  }
  ~HeldGateway() { release(); }

  QString folder() const { return folder_.path(); }
  // The numbers asked for so far, in order.
  QStringList phones() const {
    std::lock_guard lock(mutex_);
    return phones_;
  }
  void release() {
    std::lock_guard lock(mutex_);
    open_ = true;
    released_.notify_all();
  }

private:
  mutable std::mutex mutex_;
  std::condition_variable released_;
  bool open_ = false;
  QStringList phones_;
  LocalGateway gateway_;
  GatewayFolder folder_;
};

} // namespace

class TestOperators : public QObject {
  Q_OBJECT

  std::unique_ptr<LocalFirebirdServer> server;
  QTemporaryDir dir;
  QString location;
  Attachment att; // the test's own look at the database

  QList<QVariantList> rows(const QString &sql) { return ContactTable(att).rows(sql); }
  // A CSV file of phone,name lines for an import.
  QString csvFile(const QString &name, const QByteArray &lines) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(lines) != lines.size())
      qFatal("cannot write %s", qPrintable(path));
    return path;
  }
  void execute(const QString &sql) { ContactTable(att).execute(sql); }

private slots:
  void initTestCase() {
    server = std::make_unique<LocalFirebirdServer>(operatorLogin.password);
    QVERIFY(dir.isValid());
    setDbLoginSetting(operatorLogin);
  }
  void init() {
    static int n = 0;
    location = server->location(dir.filePath(QStringLiteral("shared%1.fdb").arg(++n)));
    DatabaseCreator::create(location, true, operatorLogin);
    setDbNameSetting(location);
    att.open(location, operatorLogin);
    execute("UPDATE CONTACTS SET SEND = 1");
  }
  void cleanup() { att.close(); }
  void cleanupTestCase() { server.reset(); }

  // A refresh pass holds contact 1 while an operator confirms an edit of it and a dispatch
  // starts: both fail at once and write nothing; once the pass has committed, the edit goes
  // through and keeps the delivered status.
  void aHeldRowFailsAtOnceAndNothingIsLost() {
    OperatorProcess editor("editor"), refresher("refresher"), dispatcher("dispatcher");
    SAYS_OK(editor, "open");
    SAYS_OK(refresher, "open");
    SAYS_OK(dispatcher, "open");

    SAYS_OK(refresher, "status-begin");
    SAYS_OK(refresher, "status 1");
    SAYS_OK(refresher, "status 2");

    const QString refused = editor.say("edit 1 NAME=Иван_Новиков PHONE=+79009999999");
    QVERIFY2(refused.startsWith(u"error lock "), qPrintable(refused));
    // Said plainly first, then the server's own text.
    QVERIFY2(refused.startsWith(QStringLiteral("error lock ") + DatabaseError::lockConflictText +
                                QStringLiteral(" | ")),
             qPrintable(refused));
    QVERIFY2(refused.contains(u"update conflicts with concurrent update"), qPrintable(refused));
    const QString resetRefused = dispatcher.say("reset");
    QVERIFY2(resetRefused.startsWith(u"error lock "), qPrintable(resetRefused));

    // Nothing of the refused edit, nothing of the refused reset, nothing uncommitted.
    QCOMPARE(rows("SELECT ID, NAME, PHONE, SEND FROM CONTACTS WHERE ID = 1").value(0),
             QVariantList({1, QStringLiteral("Иван Петров"), QStringLiteral("+79001234501"), 1}));
    QCOMPARE(rows("SELECT COUNT(*) FROM CONTACTS WHERE SEND = 1").value(0).value(0).toInt(), 5);

    SAYS_OK(refresher, "status-end");
    // The dialog is still open: OK again now succeeds, and keeps the pass's status.
    SAYS_OK(editor, "retry");
    QCOMPARE(rows("SELECT ID, NAME, PHONE, SEND FROM CONTACTS WHERE ID = 1").value(0),
             QVariantList({1, QStringLiteral("Иван_Новиков"), QStringLiteral("+79009999999"), 3}));
    QCOMPARE(rows("SELECT SEND FROM CONTACTS WHERE ID = 2").value(0).value(0).toInt(), 3);

    SAYS_OK(dispatcher, "reset");
    QCOMPARE(rows("SELECT COUNT(*) FROM CONTACTS WHERE SEND = 2").value(0).value(0).toInt(), 5);
  }

  // A dispatch in one program, held in the middle of its run, while the others edit a
  // contact it has sent to and one it has yet to reach, add a group, import into it, and
  // hold a row it will reach in a refresh pass. The edits keep the statuses the run writes
  // and the run keeps the edits; at the held row the run ends at once with the lock
  // message, the message's status left to the pass, which then commits. Everyone sees the
  // others' work once its lists are read again.
  void aDispatchRunsWhileTheOthersWork() {
    HeldGateway gateway(3);
    OperatorProcess dispatcher("dispatcher"), editor("editor"), importer("importer"), refresher("refresher");
    for (OperatorProcess *op : {&dispatcher, &editor, &importer, &refresher})
      SAYS_OK(*op, "open");
    auto idOf = [this](const QString &phone) {
      return ContactTable(att)
          .scalar("SELECT ID FROM CONTACTS WHERE PHONE = :PHONE", {{"PHONE", phone}})
          .toInt();
    };

    SAYS_OK(dispatcher, "dispatch-start " + gateway.folder());
    QTRY_COMPARE_WITH_TIMEOUT(gateway.phones().size(), 3, 60000);
    const QStringList asked = gateway.phones();
    const int sent = idOf(asked[0]);
    QList<int> ahead; // the two contacts the run has yet to reach
    for (int id = 1; id <= 5; ++id)
      if (!asked.contains(rows(QStringLiteral("SELECT PHONE FROM CONTACTS WHERE ID = %1").arg(id))
                              .value(0)
                              .value(0)
                              .toString()))
        ahead << id;
    QCOMPARE(ahead.size(), 2);
    QCOMPARE(rows(QStringLiteral("SELECT SEND, IDMESSAGE FROM CONTACTS WHERE ID = %1").arg(sent)).value(0),
             QVariantList({1, 101}));

    SAYS_OK(editor, QStringLiteral("edit %1 DFIELD=Тула").arg(sent));
    SAYS_OK(editor, QStringLiteral("edit %1 NAME=Новое_имя").arg(ahead[0]));
    SAYS_OK(importer, "group Склад");
    const QString csv = csvFile("during.csv", "+79005550001,First\r\n+79005550002,Second\r\n");
    QCOMPARE(importer.say("import " + csv), QStringLiteral("ok 2"));
    SAYS_OK(refresher, "status-begin");
    SAYS_OK(refresher, QStringLiteral("status %1").arg(ahead[1]));

    gateway.release();
    const QString end = dispatcher.say("dispatch-wait");
    QVERIFY2(end.startsWith(QStringLiteral("error lock ") + DatabaseError::lockConflictText),
             qPrintable(end));
    QCOMPARE(gateway.phones().size(), 5); // the fifth message went out before its row refused

    // The run's statuses and the edits side by side; the held row untouched until its pass
    // commits, then the pass's.
    QCOMPARE(
        rows(QStringLiteral("SELECT SEND, IDMESSAGE, DFIELD FROM CONTACTS WHERE ID = %1").arg(sent)).value(0),
        QVariantList({1, 101, QStringLiteral("Тула")}));
    QCOMPARE(rows(QStringLiteral("SELECT SEND, NAME FROM CONTACTS WHERE ID = %1").arg(ahead[0])).value(0),
             QVariantList({1, QStringLiteral("Новое_имя")}));
    QCOMPARE(rows(QStringLiteral("SELECT SEND, PARTSEND FROM CONTACTS WHERE ID = %1").arg(ahead[1])).value(0),
             QVariantList({2, 0}));
    SAYS_OK(refresher, "status-end");
    QCOMPARE(rows(QStringLiteral("SELECT SEND FROM CONTACTS WHERE ID = %1").arg(ahead[1])).value(0).value(0),
             QVariant(3));
    QCOMPARE(rows("SELECT COUNT(*) FROM CONTACTS WHERE SEND = 1 AND IDMESSAGE BETWEEN 101 AND 104")
                 .value(0)
                 .value(0)
                 .toInt(),
             4);

    SAYS_OK(dispatcher, "reopen");
    QCOMPARE(dispatcher.say("groups"), QStringLiteral("ok Демо;Склад"));
    QVERIFY(dispatcher.say("contacts").contains(QStringLiteral(":Новое_имя:")));
    SAYS_OK(dispatcher, "current Склад");
    QCOMPARE(dispatcher.say("contacts").count(u';'), 1);
  }

  // An edit confirmed after a status change that it never read keeps that status.
  void anEditKeepsWhatOthersCommittedMeanwhile() {
    OperatorProcess editor("editor"), refresher("refresher");
    SAYS_OK(editor, "open");
    SAYS_OK(refresher, "open");
    SAYS_OK(refresher, "status-begin");
    SAYS_OK(refresher, "status 3");
    SAYS_OK(refresher, "status-end");
    QCOMPARE(editor.say("contacts").section(u';', 2, 2), QStringLiteral("3:Алексей Смирнов:+79001234503:1"));
    SAYS_OK(editor, "edit 3 NAME=Алексей_С.");
    QCOMPARE(rows("SELECT NAME, SEND FROM CONTACTS WHERE ID = 3").value(0),
             QVariantList({QStringLiteral("Алексей_С."), 3}));
    SAYS_OK(editor, "reopen");
    QCOMPARE(editor.say("contacts").section(u';', 2, 2), QStringLiteral("3:Алексей_С.:+79001234503:3"));
  }

  // A group added by one, contacts imported into it by another while a refresh pass holds
  // rows of the demo group: each sees the others' committed work once its lists are read
  // again, and an edit of an imported contact reaches the importer.
  void everyOneSeesTheOthersCommittedWork() {
    OperatorProcess first("first"), second("second"), refresher("refresher");
    SAYS_OK(first, "open");
    SAYS_OK(second, "open");
    SAYS_OK(refresher, "open");
    SAYS_OK(first, "group Склад");
    QCOMPARE(second.say("groups"), QStringLiteral("ok Демо"));
    SAYS_OK(second, "reopen");
    QCOMPARE(second.say("groups"), QStringLiteral("ok Демо;Склад"));

    SAYS_OK(refresher, "status-begin");
    SAYS_OK(refresher, "status 1");
    const QString csv =
        csvFile("import.csv", "+79005550001,First\r\n+79005550002,Second\r\n+79005550003,Third\r\n");
    SAYS_OK(second, "current Склад");
    QCOMPARE(second.say("import " + csv), QStringLiteral("ok 3"));
    SAYS_OK(refresher, "status-end");

    SAYS_OK(first, "reopen");
    QCOMPARE(first.say("contacts"),
             QStringLiteral("ok 6:First:+79005550001:;7:Second:+79005550002:;8:Third:+79005550003:"));
    SAYS_OK(first, "edit 7 NAME=Second_renamed");
    SAYS_OK(second, "reopen");
    QCOMPARE(second.say("contacts"),
             QStringLiteral("ok 6:First:+79005550001:;7:Second_renamed:+79005550002:;8:Third:+79005550003:"));
    SAYS_OK(second, "current Демо");
    QCOMPARE(second.say("contacts").section(u';', 0, 0), QStringLiteral("ok 1:Иван Петров:+79001234501:3"));
  }
};

QTEST_GUILESS_MAIN(TestOperators)
#include "test_operators.moc"
