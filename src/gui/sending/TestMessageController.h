#pragma once
// The test message box of the sending page: its send button tries the channel of the current
// sub-page (gateway or modem) with the number and the text typed in the box. It runs on the
// window thread under the wait cursor; a failure reaches the general error report.
#include <QObject>

class DataSet;
class Dialogs;
class SendingPage;

class TestMessageController : public QObject {
  Q_OBJECT
public:
  // options: the options row (log file, serial settings); null without a database.
  // dialogs: where the wait cursor goes (null: the installed dialogs).
  TestMessageController(SendingPage &page, DataSet *options, Dialogs *dialogs = nullptr,
                        QObject *parent = nullptr);

  // Throws the failure for the general error report.
  void butSendClick();

private:
  void sendByGateway();
  void sendByModem();
  Dialogs &dialogs() const;

  SendingPage &page_;
  DataSet *options_;
  Dialogs *dialogs_;
};
