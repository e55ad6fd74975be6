#pragma once
// A POP3 server on 127.0.0.1 (ephemeral port) that plays a fixed script, for the shapes a
// real server will not take on request: a server that never speaks, one that refuses to
// greet, one that stops answering in the middle. It keeps every byte the clients sent.
// Connections are served one at a time.
#include <QByteArray>
#include <QList>

#include <atomic>
#include <mutex>
#include <thread>

struct Pop3Script {
  bool silent = false; // accept and never say anything
  bool hangUp = false; // accept and close at once
  QByteArray greeting = "+OK scripted POP3 ready";
  QByteArray capa = "+OK\r\nUSER\r\n."; // the whole CAPA answer without the last line end
  QList<QByteArray> messages;           // served by RETR, dot-stuffed on the way
  QByteArray silentFrom;                // a command (upper case) from which nothing is answered
};

// The scripts the tests use.
Pop3Script servingMessages(const QList<QByteArray> &messages, const QByteArray &silentFrom = {});
Pop3Script greetingWith(const QByteArray &greeting);
Pop3Script silentServer();
Pop3Script hangingUpServer();

class ScriptedPop3 {
public:
  explicit ScriptedPop3(const Pop3Script &script);
  ~ScriptedPop3();
  ScriptedPop3(const ScriptedPop3 &) = delete;
  ScriptedPop3 &operator=(const ScriptedPop3 &) = delete;

  quint16 port() const { return port_; }
  QByteArray received() const;
  int connections() const { return connections_.load(); }

private:
  void acceptLoop();
  void serve(int socket);
  // Waits for bytes (or the end of the test); false when the connection or the server ends.
  bool readMore(int socket, QByteArray &buffer);
  void send(int socket, const QByteArray &bytes);

  Pop3Script script_;
  int listener_ = -1;
  int wakePipe_[2] = {-1, -1};
  quint16 port_ = 0;
  std::atomic<int> connections_{0};
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  QByteArray received_;
  std::thread thread_;
};
