#pragma once
// A real POP3 server for the tests: Dovecot from Debian, started by the test with its own
// configuration in a temporary folder (its own user file, mailbox, run folder and log) on a
// free port of 127.0.0.1. No system service is touched and port 110 is never used, so a
// system Dovecot started by the package may run beside it. Run as root, its processes take
// the package's unprivileged users; run as anyone else, they all run as that user.
#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

class LocalDovecot {
public:
  // Throws std::runtime_error (with the server's log) when Dovecot is missing or does not
  // start within a few seconds.
  LocalDovecot(const QString &user, const QString &password);
  ~LocalDovecot(); // stops the server and waits for it
  LocalDovecot(const LocalDovecot &) = delete;
  LocalDovecot &operator=(const LocalDovecot &) = delete;

  quint16 port() const { return port_; }
  // "127.0.0.1:<port>", as the options row names the server.
  QString address() const;
  // Delivers a message into the mailbox; messages keep the order they were delivered in.
  void deliver(const QByteArray &message);
  // Messages in the mailbox folder, read or not.
  int messagesStored() const;
  QString log() const;

private:
  void writeConfiguration(const QString &user, const QString &password);
  void waitUntilListening();
  void stop();

  QTemporaryDir dir_;
  QString mailDir_;
  quint16 port_ = 0;
  int delivered_ = 0;
  QProcess process_;
};
