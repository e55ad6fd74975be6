#include "app/ErrorReport.h"
#include "app/Program.h"
#include "app/QtDialogs.h"
#include "app/TFMain.h"

int main(int argc, char **argv) {
  ErrorReportingApplication app(argc, argv);
  app.setApplicationName("Brisklane");
  app.setOrganizationName("Kelvanor");
  QtDialogs dialogs;
  Dialogs::install(&dialogs);

  int status = 1;
  {
    Program program;
    if (program.start()) {
      program.mainWindow()->showMaximized();
      status = app.exec();
    }
  }
  Dialogs::install(nullptr);
  return status;
}
