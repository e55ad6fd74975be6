#pragma once
// Answering a modal dialog the code under test opens: the answer runs once the dialog's own
// event loop is up. A dialog still open after the answer (a failed check returned early) is
// rejected, so its modal loop ends and the test goes on to report the failure.
#include <QApplication>
#include <QTest>
#include <QTimer>

#include <functional>

// What names the dialog in the failure when another one, or none, is up.
template <class D>
void whenModalOpens(std::function<void(D &)> answer, const char *what = "the expected dialog") {
  QTimer::singleShot(0, qApp, [answer, what] {
    auto *dialog = qobject_cast<D *>(QApplication::activeModalWidget());
    if (!dialog) {
      QTest::qFail((QByteArray(what) + " is not open").constData(), __FILE__, __LINE__);
      return;
    }
    answer(*dialog);
    if (dialog->isVisible())
      dialog->reject();
  });
}
