// brisklane-demo-gateway: a stand-in SMS gateway for trying the program out without a gateway
// account. It listens on 127.0.0.1 only, accepts every message, prints what it received and
// reports each message delivered a few seconds later. No SMS leaves this computer.
//
//   brisklane-demo-gateway [--port N] [--delivery-seconds S] [--url-file FILE]
#include "DemoGateway.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>

#include <csignal>
#include <cstdio>
#include <mutex>

int main(int argc, char **argv) {
  // Blocked before any thread exists, then awaited here: the server threads never see them.
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGTERM);
  sigaddset(&stop, SIGINT);
  sigaddset(&stop, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &stop, nullptr);

  QCoreApplication app(argc, argv);
  QCommandLineParser options;
  options.setApplicationDescription(
      "Demo SMS gateway for Brisklane: accepts every message on 127.0.0.1 and sends nothing anywhere.");
  options.addHelpOption();
  options.addOption({"port", "Port on 127.0.0.1 (0: any free port).", "N", "0"});
  options.addOption({"delivery-seconds", "Seconds until a message counts as delivered.", "S", "5"});
  options.addOption({"url-file", "Write the endpoint URL to FILE once listening.", "FILE"});
  options.process(app);

  std::mutex printing;
  auto print = [&printing](const QString &line) {
    std::lock_guard lock(printing);
    std::fputs(line.toUtf8().append('\n').constData(), stdout);
    std::fflush(stdout);
  };

  const int seconds = options.value("delivery-seconds").toInt();
  DemoGateway demo(std::chrono::seconds(seconds < 0 ? 0 : seconds), print);
  try {
    LocalGateway server(quint16(options.value("port").toUInt()));
    server.setKeepRequests(false);
    server.setResponder([&demo](const ReceivedRequest &request) { return demo.answer(request); });
    const QString url = server.url();
    print(QStringLiteral(
        "Brisklane DEMO gateway: messages are only printed here, no SMS leaves this computer."));
    print(QStringLiteral("Listening on %1 (messages count as delivered after %2 s)").arg(url).arg(seconds));
    if (options.isSet("url-file")) {
      QSaveFile file(options.value("url-file"));
      if (!file.open(QIODevice::WriteOnly) || file.write(url.toUtf8() + '\n') < 0 || !file.commit()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(options.value("url-file")));
        return 1;
      }
    }
    int received = 0;
    sigwait(&stop, &received);
    print(QStringLiteral("Demo gateway stopped."));
  } catch (const std::exception &e) {
    std::fprintf(stderr, "brisklane-demo-gateway: %s\n", e.what());
    return 1;
  }
  return 0;
}
