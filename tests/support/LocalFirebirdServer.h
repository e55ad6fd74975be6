#pragma once
// A private Firebird server for one suite: Debian's server binary (unpacked at build time,
// BL_FBSERVER_BIN) run as the current user on a free port of 127.0.0.1, with a root folder of
// its own under the suite's sandbox (configuration, security database with SYSDBA's password
// as given, lock, temporary and log files), laid out and run by scripts/fbserver.sh. The
// server ends with this object, and with the test process should that die first.
#include "data/DbLogin.h"

#include <QString>
#include <QTemporaryDir>

#include <sys/types.h>

class LocalFirebirdServer {
public:
  // Throws std::runtime_error with the reason when the server does not start.
  explicit LocalFirebirdServer(const QString &sysdbaPassword = DbLogin::defaults().password);
  ~LocalFirebirdServer();
  LocalFirebirdServer(const LocalFirebirdServer &) = delete;
  LocalFirebirdServer &operator=(const LocalFirebirdServer &) = delete;

  int port() const { return port_; }
  // The server's own folder; its log is log/firebird3.0.log there.
  QString rootPath() const { return root_.path(); }
  // True when the machine gave the server no namespace of its own and it runs in the
  // engine's boot mode, where any valid login acts as SYSDBA (see scripts/fbserver.sh run).
  bool everyLoginActsAsSysdba() const;
  // A database file of this machine as the client names it on this server: "127.0.0.1/PORT:PATH".
  QString location(const QString &path) const;
  // Stops the server; a no-op once stopped.
  void stop();

  // True when the suite runs against a server (BL_TEST_SERVER set, as the "server" runs do).
  static bool requested();
  // The server of those runs, started on first use with the default SYSDBA password and
  // stopped when the process ends.
  static LocalFirebirdServer &shared();

private:
  void prepare(const QString &password);
  bool launch(); // false when the port was taken meanwhile
  QString logTail() const;

  QTemporaryDir root_;
  int port_ = 0;
  pid_t pid_ = -1;
};
