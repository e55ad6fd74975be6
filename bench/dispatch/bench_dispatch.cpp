// The mass dispatch's speed in the same run:
//  1. a gateway run over N recipients (default 10,000) with GSMTIME 0 against a local gateway
//     that answers at once, the run on a worker thread whose window steps hop onto the main
//     thread's event loop and wait, as in the program; beside a bare loop of one committed
//     status UPDATE per recipient on the same database (the durability every recipient pays),
//     run just before and just after it;
//  2. a modem run against the simulated modem with no delay, time per recipient beside bare
//     TSendSMS::Send calls on a link of the same port;
//  3. a gateway run over S recipients (default 1,000) of a database on a private Firebird
//     server on 127.0.0.1, beside the same run on a copy of that database opened with the
//     embedded engine, in turns, to tell operators what a server costs a dispatch.
//
//   bench_dispatch [--recipients N] [--rounds R] [--modem M] [--server S]
#include "LocalGateway.h"
#include "ModemSimulator.h"

#include "common/AppPaths.h"
#include "compose/FieldPlaceholders.h"
#include "data/Attachment.h"
#include "data/DatabaseCreator.h"
#include "data/Query.h"
#include "data/Transaction.h"
#include "dispatch/DispatchRun.h"
#include "gsm/PortMap.h"
#include "gsm/TSendSMS.h"
#include "gui/dispatch/WindowThreadCall.h"
#include "support/LocalFirebirdServer.h"

#include "shared/Median.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::duration span) {
  return std::chrono::duration<double>(span).count();
}

const QByteArray answer =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
    "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body><SendSMSResponse "
    "xmlns=\"http://sms.test/ns\"><SendSMSResult><int>57</int><int>0</int><int>2</int></SendSMSResult>"
    "</SendSMSResponse></soap:Body></soap:Envelope>";

void fill(Attachment &db, int contacts) {
  Transaction tr(db, Transaction::Ending::Commit);
  Query(tr, QStringLiteral("INSERT INTO LISTGROUPS (ID, NAME) VALUES (1, 'bench')")).execute();
  Query q(tr,
          QStringLiteral("INSERT INTO CONTACTS (ID, IDGROUP, PHONE, NAME) VALUES (:ID, 1, :PHONE, :NAME)"));
  for (int id = 1; id <= contacts; ++id) {
    q.setParam(QStringLiteral("ID"), id);
    q.setParam(QStringLiteral("PHONE"), QStringLiteral("79%1").arg(id, 9, 10, QLatin1Char('0')));
    q.setParam(QStringLiteral("NAME"), QStringLiteral("Иван Петрович %1").arg(id));
    q.execute();
  }
  tr.commit();
}

// The window of the program without its widgets: every step is a blocking call onto the
// main thread, which runs its event loop meanwhile.
class HoppingWindow : public DispatchWindow {
public:
  HoppingWindow(QObject &context, int channel, int port)
      : context_(context), channel_(channel), port_(port) {}
  RunInputs base;
  int lines = 0;

  void setBusy(bool) override {
    onWindowThread(context_, [] {});
  }
  void reopenContacts() override {
    onWindowThread(context_, [] {});
  }
  RunInputs runInputs() override {
    return onWindowThread(context_, [this] {
      RunInputs in = base;
      in.channel = channel_;
      in.portNumber = port_;
      return in;
    });
  }
  RecipientInputs recipientInputs() override {
    return onWindowThread(context_, [] {
      return RecipientInputs{QStringLiteral("login"), QStringLiteral("pw"), false};
    });
  }
  void RunStarted(int) override {
    onWindowThread(context_, [] {});
  }
  void RecipientDone(const QString &line) override {
    onWindowThread(context_, [&] { lines += line.isEmpty() ? 0 : 1; });
  }
  void RunFinished(const RunEnd &) override {
    onWindowThread(context_, [] {});
  }

private:
  QObject &context_;
  int channel_;
  int port_;
};

// One whole run on a worker thread; the main thread serves its window steps. Seconds.
double timedRun(Attachment &db, HoppingWindow &window) {
  DispatchRun run(db, window);
  double elapsed = 0;
  QThread *worker = QThread::create([&] {
    const auto start = Clock::now();
    try {
      run.perform();
    } catch (const std::exception &e) {
      std::fprintf(stderr, "run failed: %s\n", e.what());
      std::exit(1);
    }
    elapsed = seconds(Clock::now() - start);
  });
  QObject::connect(worker, &QThread::finished, qApp, &QCoreApplication::quit);
  worker->start();
  QCoreApplication::exec();
  worker->wait();
  delete worker;
  return elapsed;
}

// The bare loop: the gateway outcome statement, prepared once, committed per recipient.
double timedUpdates(Attachment &db, int contacts) {
  Transaction tr(db, Transaction::Ending::Commit);
  Query q(tr,
          QStringLiteral("UPDATE CONTACTS\nSET SEND = :SEND, DATESEND = :DATESEND, TIMESEND = :TIMESEND, "
                         "PARTSEND = :PARTSEND, FERROR = :FERROR, IDMESSAGE = :IDMESSAGE\nWHERE ID = :ID"));
  const auto start = Clock::now();
  for (int id = 1; id <= contacts; ++id) {
    const QDateTime now = QDateTime::currentDateTime();
    q.setParam(QStringLiteral("SEND"), 1);
    q.setParam(QStringLiteral("DATESEND"), now.date());
    q.setParam(QStringLiteral("TIMESEND"), now.time());
    q.setParam(QStringLiteral("PARTSEND"), 2);
    q.setParam(QStringLiteral("FERROR"), 0);
    q.setParam(QStringLiteral("IDMESSAGE"), 57);
    q.setParam(QStringLiteral("ID"), id);
    q.execute();
    tr.commit();
  }
  return seconds(Clock::now() - start);
}

struct ServerComparison {
  double embedded = 0, server = 0, ratio = 0; // recipients/s, medians
};

// The same run on two copies of one small database, the embedded one and the one the server
// opens, alternately, so the machine's load weighs on both alike. The embedded copy is
// closed before the server's copy is made: two engines must never share one file.
ServerComparison compareOverServer(QTemporaryDir &dir, QObject &context, int recipients, int rounds) {
  const QString embeddedPath = dir.filePath(QStringLiteral("small.fdb"));
  const QString serverPath = dir.filePath(QStringLiteral("server.fdb"));
  DatabaseCreator::create(embeddedPath);
  {
    Attachment db;
    db.open(embeddedPath);
    fill(db, recipients);
    db.close();
  }
  if (!QFile::copy(embeddedPath, serverPath))
    throw std::runtime_error("cannot copy the database for the server");
  qputenv("BL_SOURCE_DIR", BL_BENCH_SOURCE_DIR);
  qputenv("BL_FBSERVER_BIN", BL_BENCH_FBSERVER_BIN);
  LocalFirebirdServer server;
  Attachment embedded, remote;
  embedded.open(embeddedPath);
  remote.open(server.location(serverPath));

  HoppingWindow window(context, dispatch_channel::Gateway, 0);
  window.base.templateText = QStringLiteral("Уважаемый [NAM]! Ваш заказ готов. Ваш магазин");
  window.base.placeholders = readFieldPlaceholders(embedded).table;
  std::vector<double> e, s, ratios;
  for (int round = 0; round < rounds; ++round) {
    const double te = timedRun(embedded, window);
    const double ts = timedRun(remote, window);
    e.push_back(recipients / te);
    s.push_back(recipients / ts);
    ratios.push_back(te / ts);
    std::fprintf(stderr, "server round %d: embedded %.0f /s, server %.0f /s, ratio %.2f\n", round + 1,
                 recipients / te, recipients / ts, te / ts);
  }
  if (window.lines != 2 * recipients * rounds)
    throw std::runtime_error("a run over the server sent fewer messages than it has recipients");
  return {median(e), median(s), median(ratios)};
}

int option(int argc, char **argv, const char *name, int fallback) {
  for (int i = 1; i + 1 < argc; ++i)
    if (std::string(argv[i]) == name)
      return std::max(1, std::atoi(argv[i + 1]));
  return fallback;
}

} // namespace

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  const int recipients = option(argc, argv, "--recipients", 10000);
  const int rounds = option(argc, argv, "--rounds", 3);
  const int modemRecipients = option(argc, argv, "--modem", 300);
  const int serverRecipients = option(argc, argv, "--server", 1000);
  qputenv("no_proxy", "127.0.0.1,localhost");

  QTemporaryDir dir;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
  app_paths::overrideExecutableDir(dir.path());
  const QString path = dir.filePath(QStringLiteral("bench.fdb"));
  DatabaseCreator::create(path);
  Attachment db;
  db.open(path);
  fill(db, std::max(recipients, modemRecipients));

  LocalGateway gateway;
  gateway.setKeepRequests(false);
  gateway.answerWith({200, "OK", "text/xml; charset=utf-8", answer});
  {
    QFile ini(dir.filePath(QStringLiteral("kyv.ini")));
    if (!ini.open(QIODevice::WriteOnly))
      return 1;
    ini.write(("[gateway]\r\nUrl=" + gateway.url() + "\r\nNamespace=http://sms.test/ns\r\n").toUtf8());
  }

  QObject context;
  HoppingWindow gatewayWindow(context, dispatch_channel::Gateway, 0);
  gatewayWindow.base.templateText = QStringLiteral("Уважаемый [NAM]! Ваш заказ готов. Ваш магазин");
  gatewayWindow.base.placeholders = readFieldPlaceholders(db).table;
  gatewayWindow.base.filter = QStringLiteral("ID <= %1").arg(recipients);

  // Each round brackets the run between two update loops, so that the load of the shared
  // machine, which changes by the minute, weighs on both sides alike.
  std::vector<double> bare, dispatched, ratios;
  for (int round = 0; round < rounds; ++round) {
    const double before = timedUpdates(db, recipients);
    const double r = timedRun(db, gatewayWindow);
    const double after = timedUpdates(db, recipients);
    const double u = (before + after) / 2;
    bare.push_back(recipients / u);
    dispatched.push_back(recipients / r);
    ratios.push_back(u / r);
    std::fprintf(stderr, "round %d: updates %.0f and %.0f /s, dispatch %.0f /s, ratio %.2f\n", round + 1,
                 recipients / before, recipients / after, recipients / r, u / r);
  }
  if (gatewayWindow.lines != recipients * rounds) {
    std::fprintf(stderr, "expected %d lines, got %d\n", recipients * rounds, gatewayWindow.lines);
    return 1;
  }

  // Modem: bare sends on one link, then a run on a link of its own (the port is exclusive).
  ModemSimulator modem;
  port_map::setMapping(1, modem.devicePath());
  double bareSend = 0;
  {
    TSendSMS link(1, QString());
    if (link.LastError != 0)
      return 1;
    link.DestNumber = QStringLiteral("79000000001");
    const auto start = Clock::now();
    for (int i = 1; i <= modemRecipients; ++i) {
      link.MessageText =
          QStringLiteral("Dear customer, your order %1 is ready for collection at our shop.").arg(i);
      if (!link.Send())
        return 1;
    }
    bareSend = seconds(Clock::now() - start) / modemRecipients;
  }
  HoppingWindow modemWindow(context, dispatch_channel::Modem, 1);
  modemWindow.base.templateText =
      QStringLiteral("Dear customer, your order [FL1] is ready for collection at our shop.");
  modemWindow.base.placeholders = readFieldPlaceholders(db).table;
  modemWindow.base.filter = QStringLiteral("ID <= %1").arg(modemRecipients);
  const double modemRun = timedRun(db, modemWindow) / modemRecipients;
  if (modemWindow.lines != modemRecipients || int(modem.messages().size()) != 2 * modemRecipients)
    return 1;

  ServerComparison overServer;
  try {
    overServer = compareOverServer(dir, context, serverRecipients, rounds);
  } catch (const std::exception &e) { // the server did not start, or a run failed
    std::fprintf(stderr, "bench_dispatch over the server: %s\n", e.what());
    return 1;
  }

  std::printf("| benchmark | baseline | measured | ratio |\n|---|---|---|---|\n");
  std::printf(
      "| dispatch: gateway run, %d recipients, GSMTIME 0, recipients/s, median of %d rounds (baseline: one "
      "committed status UPDATE per recipient, same database) | %.0f /s | %.0f /s | %.2f |\n",
      recipients, rounds, median(bare), median(dispatched), median(ratios));
  std::printf(
      "| dispatch: modem run against the simulated modem, no delay, %d recipients, time per recipient "
      "(baseline: bare TSendSMS::Send) | %.2f ms | %.2f ms | %.2f |\n",
      modemRecipients, bareSend * 1e3, modemRun * 1e3, modemRun / bareSend);
  std::printf(
      "| dispatch over a private Firebird server on 127.0.0.1: gateway run, %d recipients, GSMTIME 0, "
      "recipients/s, median of %d rounds in turns (baseline: the same run on the embedded engine) "
      "| %.0f /s | %.0f /s | %.2f |\n",
      serverRecipients, rounds, overServer.embedded, overServer.server, overServer.ratio);
  return 0;
}
