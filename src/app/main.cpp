#include "app/Program.h"
#include "app/ShutdownSignals.h"
#include "app/TFMain.h"
#include "gui/base/ErrorReport.h"
#include "gui/base/QtDialogs.h"

#include <QScreen>

int main(int argc, char **argv) {
  // Before any thread exists, so that none of them (the database engine's included) takes
  // the shutdown signals.
  ShutdownSignals::block();
  ErrorReportingApplication app(argc, argv);
  app.setApplicationName("Brisklane");
  app.setOrganizationName("Kelvanor");
  QtDialogs dialogs;
  Dialogs::install(&dialogs);

  int status = 1;
  {
    Program program;
    if (program.start()) {
      TFMain *window = program.mainWindow();
      ShutdownSignals shutdown;
      shutdown.closeOnSignal(window);
      // Without a window manager (a bare X server) "maximized" means nothing: fill the screen.
      window->setGeometry(window->screen()->availableGeometry());
      window->showMaximized();
      status = app.exec();
    }
  }
  Dialogs::install(nullptr);
  return status;
}
