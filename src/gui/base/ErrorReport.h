#pragma once
// The general error report: an error that no handler caught reaches the operator as a modal
// message with the error's own text, and the program carries on. Every event, and so every
// handler run from one, is delivered through notify(), which is the one place that catches.
#include <QApplication>

class ErrorReportingApplication : public QApplication {
  Q_OBJECT
public:
  ErrorReportingApplication(int &argc, char **argv);
  bool notify(QObject *receiver, QEvent *event) override;
};

// Shows the message of the error currently being handled (call inside a catch block).
void reportCurrentException();
