#include "LocalDovecot.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QThread>

#include <arpa/inet.h>
#include <grp.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace {

// A port nobody listens on now; Dovecot binds it a moment later.
quint16 freePort() {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (s < 0 || ::bind(s, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
      ::getsockname(s, reinterpret_cast<sockaddr *>(&address), &length) != 0)
    throw std::runtime_error("no free port on 127.0.0.1");
  ::close(s);
  return ntohs(address.sin_port);
}

bool greets(quint16 port) {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  bool ok = ::connect(s, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
  if (ok) {
    char buffer[64] = {};
    timeval wait{2, 0};
    ::setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    ok = ::recv(s, buffer, 3, MSG_WAITALL) == 3 && QByteArray(buffer, 3) == "+OK";
    (void)!::send(s, "QUIT\r\n", 6, MSG_NOSIGNAL);
  }
  ::close(s);
  return ok;
}

QString userName(uid_t uid) {
  const passwd *entry = ::getpwuid(uid);
  return entry ? QString::fromLocal8Bit(entry->pw_name) : QString::number(uid);
}

QString groupName(gid_t gid) {
  const group *entry = ::getgrgid(gid);
  return entry ? QString::fromLocal8Bit(entry->gr_name) : QString::number(gid);
}

void writeFile(const QString &path, const QByteArray &bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
    throw std::runtime_error(("cannot write " + path).toStdString());
}

} // namespace

LocalDovecot::LocalDovecot(const QString &user, const QString &password) {
  if (!dir_.isValid())
    throw std::runtime_error("no temporary folder for the POP3 server");
  port_ = freePort();
  writeConfiguration(user, password);
  const QString program = QStandardPaths::findExecutable(
      QStringLiteral("dovecot"), {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/local/sbin")});
  if (program.isEmpty())
    throw std::runtime_error("dovecot is not installed (scripts/deps.sh installs dovecot-pop3d)");
  process_.setProgram(program);
  process_.setArguments(
      {QStringLiteral("-F"), QStringLiteral("-c"), dir_.filePath(QStringLiteral("dovecot.conf"))});
  process_.setProcessChannelMode(QProcess::ForwardedChannels);
  // The server goes with the test even when the test dies.
  process_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
  process_.start();
  if (!process_.waitForStarted(5000))
    throw std::runtime_error(("dovecot did not start: " + process_.errorString()).toStdString());
  try {
    waitUntilListening();
  } catch (...) {
    stop();
    throw;
  }
}

LocalDovecot::~LocalDovecot() {
  stop();
}

void LocalDovecot::stop() {
  if (process_.state() == QProcess::NotRunning)
    return;
  process_.terminate(); // the master stops its children on SIGTERM
  if (!process_.waitForFinished(10000)) {
    process_.kill();
    process_.waitForFinished(5000);
  }
}

QString LocalDovecot::address() const {
  return QStringLiteral("127.0.0.1:%1").arg(port_);
}

void LocalDovecot::writeConfiguration(const QString &user, const QString &password) {
  const QDir dir(dir_.path());
  for (const char *sub : {"run", "state", "mail"})
    dir.mkpath(QString::fromLatin1(sub));
  mailDir_ = dir.filePath(QStringLiteral("mail/") + user);
  for (const char *sub : {"cur", "new", "tmp"})
    dir.mkpath(mailDir_ + u'/' + QString::fromLatin1(sub));

  // As root the mail and helper processes run as the package's users (Dovecot refuses mail
  // access as root); otherwise everything runs as the current user.
  const bool root = ::geteuid() == 0;
  const QString mailUser = root ? QStringLiteral("dovecot") : userName(::geteuid());
  const QString mailGroup = root ? QStringLiteral("dovecot") : groupName(::getegid());
  const QString loginUser = root ? QStringLiteral("dovenull") : mailUser;

  writeFile(dir.filePath(QStringLiteral("passwd")),
            (user + QStringLiteral(":{PLAIN}") + password + "::::::\n").toUtf8());
  const QString conf =
      QStringLiteral(
          "base_dir = %1/run\n"
          "state_dir = %1/state\n"
          "log_path = %1/dovecot.log\n"
          "protocols = pop3\n"
          "listen = 127.0.0.1\n"
          "ssl = no\n"
          "disable_plaintext_auth = no\n"
          "auth_mechanisms = plain\n"
          "first_valid_uid = 1\n"
          "default_internal_user = %2\n"
          "default_internal_group = %3\n"
          "default_login_user = %4\n"
          "mail_location = maildir:%1/mail/%u\n"
          "passdb {\n  driver = passwd-file\n  args = scheme=PLAIN username_format=%u %1/passwd\n}\n"
          "userdb {\n  driver = static\n  args = uid=%2 gid=%3 home=%1/mail/%u\n}\n"
          "service pop3-login {\n  chroot =\n"
          "  inet_listener pop3 {\n    address = 127.0.0.1\n    port = %5\n  }\n"
          "  inet_listener pop3s {\n    port = 0\n  }\n}\n"
          "service anvil {\n  chroot =\n}\n")
          .arg(dir_.path(), mailUser, mailGroup, loginUser)
          .arg(port_);
  writeFile(dir.filePath(QStringLiteral("dovecot.conf")), conf.toUtf8());

  // The unprivileged processes must reach the folder; the mailbox is theirs.
  QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                         QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                         QFile::ExeOther);
  if (root) {
    const passwd *entry = ::getpwnam("dovecot");
    if (!entry)
      throw std::runtime_error("the dovecot user is missing (is dovecot-core installed?)");
    for (const QString &path :
         {dir.filePath(QStringLiteral("mail")), mailDir_, mailDir_ + QStringLiteral("/cur"),
          mailDir_ + QStringLiteral("/new"), mailDir_ + QStringLiteral("/tmp")})
      if (::chown(QFile::encodeName(path).constData(), entry->pw_uid, entry->pw_gid) != 0)
        throw std::runtime_error(("cannot hand " + path + " to the dovecot user").toStdString());
  }
}

void LocalDovecot::waitUntilListening() {
  QDeadlineTimer deadline(15000);
  while (!greets(port_)) {
    if (process_.state() == QProcess::NotRunning || deadline.hasExpired())
      throw std::runtime_error(
          ("dovecot did not come up on port " + QString::number(port_) + ":\n" + log()).toStdString());
    QThread::msleep(20);
  }
}

void LocalDovecot::deliver(const QByteArray &message) {
  // Dovecot numbers new messages in the order of the time stamp that starts the file name.
  ++delivered_;
  const QString name = QStringLiteral("%1.M%2P1.brisklane-test").arg(1700000000 + delivered_).arg(delivered_);
  const QString temporary = mailDir_ + QStringLiteral("/tmp/") + name;
  writeFile(temporary, message);
  if (::geteuid() == 0) {
    const passwd *entry = ::getpwnam("dovecot");
    if (!entry || ::chown(QFile::encodeName(temporary).constData(), entry->pw_uid, entry->pw_gid) != 0)
      throw std::runtime_error("cannot hand the message to the dovecot user");
  }
  if (!QFile::rename(temporary, mailDir_ + QStringLiteral("/new/") + name))
    throw std::runtime_error("cannot deliver the message");
}

int LocalDovecot::messagesStored() const {
  int count = 0;
  for (const char *sub : {"new", "cur"})
    count += int(QDir(mailDir_ + u'/' + QString::fromLatin1(sub)).entryList(QDir::Files).size());
  return count;
}

QString LocalDovecot::log() const {
  QFile file(QDir(dir_.path()).filePath(QStringLiteral("dovecot.log")));
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QStringLiteral("(no log)");
}
