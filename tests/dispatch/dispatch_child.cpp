// A gateway dispatch in a process of its own, for the test that kills it in the middle:
//   dispatch_child DATABASE EXECUTABLE_FOLDER GROUP
// runs one run over the group's contacts with the template "[NAM]" and prints "LINE " and
// each result line as soon as the run shows it, then "END".
#include "common/AppPaths.h"
#include "compose/FieldPlaceholders.h"
#include "data/Attachment.h"
#include "dispatch/DispatchRun.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

class PrintingWindow : public DispatchWindow {
public:
  RunInputs inputs;
  void setBusy(bool) override {}
  void reopenContacts() override {}
  RunInputs runInputs() override { return inputs; }
  RecipientInputs recipientInputs() override {
    return {QStringLiteral("demo"), QStringLiteral("demo"), false};
  }
  void RunStarted(int count) override { print(QStringLiteral("STARTED %1").arg(count)); }
  void RecipientDone(const QString &line) override { print(QStringLiteral("LINE ") + line); }
  void RunFinished(const RunEnd &) override {}

  static void print(const QString &text) {
    std::fputs(text.toUtf8().append('\n').constData(), stdout);
    std::fflush(stdout);
  }
};

} // namespace

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  if (argc != 4) {
    std::fputs("usage: dispatch_child DATABASE EXECUTABLE_FOLDER GROUP\n", stderr);
    return 2;
  }
  try {
    app_paths::overrideExecutableDir(QString::fromLocal8Bit(argv[2]));
    Attachment db;
    db.open(QString::fromLocal8Bit(argv[1]));
    PrintingWindow window;
    window.inputs.templateText = QStringLiteral("[NAM]");
    window.inputs.placeholders = readFieldPlaceholders(db).table;
    window.inputs.scope = {false, true, QString::fromLocal8Bit(argv[3]).toInt()};
    DispatchRun run(db, window);
    run.perform();
    PrintingWindow::print(QStringLiteral("END"));
  } catch (const std::exception &e) {
    std::fprintf(stderr, "dispatch_child: %s\n", e.what());
    return 1;
  }
  return 0;
}
