// The general error report: an error escaping any event handler becomes one modal message
// with the error's own text, and the program carries on.
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "common/Error.h"
#include "gui/base/ErrorReport.h"
#include "support/ScriptedDialogs.h"

BL_ERROR_CLASS(TestFailure, AppError)

class ErrorReportTest : public QObject {
  Q_OBJECT
private slots:
  void escapingErrorsAreReported_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("application error") << 0 << QStringList{"Нет связи с базой"};
    QTest::newRow("standard exception") << 1 << QStringList{"bad thing"};
    QTest::newRow("silent abort") << 2 << QStringList{};
  }
  void escapingErrorsAreReported() {
    QFETCH(int, kind);
    QFETCH(QStringList, messages);
    ScriptedDialogs dialogs;
    QPushButton button;
    int clicks = 0;
    connect(&button, &QPushButton::clicked, [&] {
      ++clicks;
      if (kind == 0)
        throw TestFailure("Нет связи с базой");
      if (kind == 1)
        throw std::runtime_error("bad thing");
      throw SilentAbort();
    });
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(dialogs.messageTexts(), messages);
    // The program carries on: the next event is handled as usual.
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(clicks, 2);
    QCOMPARE(dialogs.messageTexts().size(), messages.size() * 2);
  }

  void timerHandlersToo() {
    ScriptedDialogs dialogs;
    bool fired = false;
    QTimer::singleShot(0, [&] {
      fired = true;
      throw TestFailure("timer failed");
    });
    QTRY_VERIFY(fired);
    QCOMPARE(dialogs.messageTexts(), QStringList{"timer failed"});
  }
};

int main(int argc, char **argv) {
  ErrorReportingApplication app(argc, argv);
  ErrorReportTest test;
  return QTest::qExec(&test, argc, argv);
}
#include "test_error_report.moc"
