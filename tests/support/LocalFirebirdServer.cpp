#include "LocalFirebirdServer.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

extern char **environ;

namespace {

using namespace std::chrono_literals;

std::runtime_error failure(const QString &text) {
  return std::runtime_error(text.toStdString());
}

sockaddr_in loopback(int port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(quint16(port));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return a;
}

// A port of 127.0.0.1 that nothing listens on now.
int freePort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a = loopback(0);
  socklen_t len = sizeof a;
  const bool ok = fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0 &&
                  ::getsockname(fd, reinterpret_cast<sockaddr *>(&a), &len) == 0;
  if (fd >= 0)
    ::close(fd);
  if (!ok)
    throw failure(QStringLiteral("no free port on 127.0.0.1"));
  return ntohs(a.sin_port);
}

bool listening(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0)
    return false;
  const sockaddr_in a = loopback(port);
  const bool ok = ::connect(fd, reinterpret_cast<const sockaddr *>(&a), sizeof a) == 0;
  ::close(fd);
  return ok;
}

// True when process pid holds the socket listening on 127.0.0.1:port (another program may
// have taken the port meanwhile: then a connection would reach that one).
bool ownsListener(pid_t pid, int port) {
  QFile table(QStringLiteral("/proc/net/tcp"));
  if (!table.open(QIODevice::ReadOnly))
    return false;
  const QByteArray local = "0100007F:" + QByteArray::number(port, 16).toUpper().rightJustified(4, '0');
  QByteArray inode;
  for (const QByteArray &line : table.readAll().split('\n')) {
    const QList<QByteArray> f = line.simplified().split(' ');
    if (f.size() > 9 && f[1] == local && f[3] == "0A") // 0A: listening
      inode = f[9];
  }
  if (inode.isEmpty())
    return false;
  const QString fds = QStringLiteral("/proc/%1/fd").arg(pid);
  const QByteArray target = "socket:[" + inode + "]";
  for (const QString &fd : QDir(fds).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
    char link[64] = {};
    if (::readlink(QFile::encodeName(fds + u'/' + fd).constData(), link, sizeof link - 1) > 0 &&
        target == link)
      return true;
  }
  return false;
}

QString requiredEnv(const char *name, const char *what) {
  const QString value = qEnvironmentVariable(name);
  if (value.isEmpty())
    throw failure(QStringLiteral("%1 is not set (%2): run the tests through ctest").arg(name, what));
  return value;
}

// The process environment without inherited Firebird folders: scripts/fbserver.sh run sets
// the server's own.
std::vector<std::string> serverEnvironment() {
  std::vector<std::string> env;
  for (char **e = environ; *e; ++e)
    if (std::string_view(*e).rfind("FIREBIRD", 0) != 0)
      env.emplace_back(*e);
  return env;
}

QString script() {
  return requiredEnv("BL_SOURCE_DIR", "the source tree") + QStringLiteral("/scripts/fbserver.sh");
}

} // namespace

LocalFirebirdServer::LocalFirebirdServer(const QString &sysdbaPassword)
    : root_([] {
        const QString parent = qEnvironmentVariable("BL_FBSERVER_ROOTS", QDir::tempPath());
        QDir().mkpath(parent);
        return parent + QStringLiteral("/fbserver-XXXXXX");
      }()) {
  if (!root_.isValid())
    throw failure(QStringLiteral("cannot create the server's folder: %1").arg(root_.errorString()));
  // A port found free may be taken before the server binds it: try another then.
  for (int attempt = 0; attempt < 3; ++attempt) {
    port_ = freePort();
    prepare(sysdbaPassword);
    if (launch())
      return;
  }
  throw failure(QStringLiteral("the server found no free port:\n") + logTail());
}

LocalFirebirdServer::~LocalFirebirdServer() {
  stop();
}

QString LocalFirebirdServer::location(const QString &path) const {
  return QStringLiteral("127.0.0.1/%1:%2").arg(port_).arg(path);
}

void LocalFirebirdServer::prepare(const QString &password) {
  QProcess p;
  p.start(QStringLiteral("bash"),
          {script(), QStringLiteral("prepare"), root_.path(), QString::number(port_)});
  p.write(password.toLocal8Bit() + '\n');
  p.closeWriteChannel();
  if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
    throw failure(QStringLiteral("scripts/fbserver.sh prepare failed: ") +
                  QString::fromLocal8Bit(p.readAllStandardError()));
}

bool LocalFirebirdServer::launch() {
  const QByteArray binary = QFile::encodeName(requiredEnv("BL_FBSERVER_BIN", "the server binary"));
  if (::access(binary.constData(), X_OK) != 0)
    throw failure(QStringLiteral("no server binary at %1").arg(QString::fromLocal8Bit(binary)));
  const QByteArray root = QFile::encodeName(root_.path());
  const QByteArray out = root + "/server.out";
  const QByteArray bash = "/bin/bash", command = QFile::encodeName(script()), run = "run";

  // Everything the child needs is made before fork: it only calls async-signal-safe functions.
  // The script ends in exec, so the child's pid stays the server's.
  std::vector<std::string> env = serverEnvironment();
  env.push_back("FBSERVER_DIE_WITH_PARENT=1");
  std::vector<char *> envp;
  for (std::string &e : env)
    envp.push_back(e.data());
  envp.push_back(nullptr);
  char *argv[] = {const_cast<char *>(bash.constData()),   const_cast<char *>(command.constData()),
                  const_cast<char *>(run.constData()),    const_cast<char *>(root.constData()),
                  const_cast<char *>(binary.constData()), nullptr};
  const int devNull = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
  const int log = ::open(out.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
  if (devNull < 0 || log < 0)
    throw failure(QStringLiteral("cannot open the server's output files"));
  const pid_t parent = ::getpid();

  pid_ = ::fork();
  if (pid_ == 0) {
    // The server must not outlive a test process that dies.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent)
      ::_exit(127);
    ::dup2(devNull, 0);
    ::dup2(log, 1);
    ::dup2(log, 2);
    if (::chdir(root.constData()) != 0)
      ::_exit(127);
    ::execve(argv[0], argv, envp.data());
    ::_exit(127);
  }
  ::close(devNull);
  ::close(log);
  if (pid_ < 0)
    throw failure(QStringLiteral("cannot start the server process"));

  const auto start = std::chrono::steady_clock::now(), deadline = start + 60s;
  while (std::chrono::steady_clock::now() < deadline) {
    if (listening(port_)) {
      if (ownsListener(pid_, port_))
        return true;
      if (std::chrono::steady_clock::now() > start + 5s) { // another program has the port
        stop();
        return false;
      }
    }
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      const QString tail = logTail();
      if (tail.contains(QLatin1String("ddress already in use")))
        return false;
      throw failure(QStringLiteral("the server ended at start:\n") + tail);
    }
    std::this_thread::sleep_for(20ms);
  }
  stop();
  throw failure(QStringLiteral("the server does not listen on port %1:\n").arg(port_) + logTail());
}

void LocalFirebirdServer::stop() {
  if (pid_ <= 0)
    return;
  // The engine does not always act on SIGTERM; whatever was committed is on disk already.
  ::kill(pid_, SIGTERM);
  const auto deadline = std::chrono::steady_clock::now() + 500ms;
  int status = 0;
  while (::waitpid(pid_, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() >= deadline) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, &status, 0);
      break;
    }
    std::this_thread::sleep_for(10ms);
  }
  pid_ = -1;
}

QString LocalFirebirdServer::logTail() const {
  QString text;
  for (const char *name : {"log/firebird3.0.log", "firebird3.0.log", "server.out"}) {
    QFile f(root_.filePath(QString::fromLatin1(name)));
    if (f.open(QIODevice::ReadOnly))
      text += QString::fromLocal8Bit(f.readAll().right(2000));
  }
  return text;
}

bool LocalFirebirdServer::everyLoginActsAsSysdba() const {
  QFile mode(root_.filePath(QStringLiteral("auth-mode")));
  return mode.open(QIODevice::ReadOnly) && mode.readAll().trimmed() == "bootBuild";
}

bool LocalFirebirdServer::requested() {
  return !qEnvironmentVariableIsEmpty("BL_TEST_SERVER");
}

LocalFirebirdServer &LocalFirebirdServer::shared() {
  static std::unique_ptr<LocalFirebirdServer> server;
  if (!server)
    server = std::make_unique<LocalFirebirdServer>();
  return *server;
}
