#include "gui/base/ErrorReport.h"

#include <exception>

#include "common/Dialogs.h"
#include "common/Error.h"

void reportCurrentException() {
  QString text;
  try {
    throw;
  } catch (const SilentAbort &) {
    return;
  } catch (const AppError &e) {
    text = e.text();
  } catch (const std::exception &e) {
    text = QString::fromLocal8Bit(e.what());
  } catch (...) {
    text = QStringLiteral("Unknown error");
  }
  Dialogs::instance().message(QStringLiteral("Brisklane"), text, Dialogs::Icon::Error);
}

ErrorReportingApplication::ErrorReportingApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool ErrorReportingApplication::notify(QObject *receiver, QEvent *event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    reportCurrentException();
    return false;
  }
}
