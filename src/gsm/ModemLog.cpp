#include "gsm/ModemLog.h"
#include "common/Cp1251.h"

#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QMutex>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Entries from threads of this process; the file lock covers other processes.
QMutex &fileMutex() {
  static QMutex mutex;
  return mutex;
}

// The regional long time format, without the time zone a Windows long time does not show.
QString longTimeFormat() {
  QString format = QLocale::system().timeFormat(QLocale::LongFormat);
  format.remove(QLatin1Char('t'));
  return format.trimmed();
}

bool writeAll(int fd, const QByteArray &bytes) {
  qsizetype done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      return false;
    done += n;
  }
  return true;
}

// True when the file is not empty and its last byte does not end a line.
bool lastLineOpen(int fd) {
  struct stat st {};
  if (fstat(fd, &st) != 0 || st.st_size == 0)
    return false;
  char last = 0;
  return pread(fd, &last, 1, st.st_size - 1) == 1 && last != '\n' && last != '\r';
}

class LockedFile {
public:
  explicit LockedFile(const QString &name) {
    fd_ = ::open(QFile::encodeName(name).constData(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ >= 0 && flock(fd_, LOCK_EX) != 0) {
      ::close(fd_);
      fd_ = -1;
    }
  }
  ~LockedFile() {
    if (fd_ >= 0)
      ::close(fd_); // releases the lock
  }
  LockedFile(const LockedFile &) = delete;
  LockedFile &operator=(const LockedFile &) = delete;
  int fd() const { return fd_; }

private:
  int fd_ = -1;
};

} // namespace

namespace modem_log {

QString header(int portNumber) {
  const QDateTime now = QDateTime::currentDateTime();
  const QLocale locale = QLocale::system();
  return QStringLiteral("Port: COM%1 %2 %3: ")
      .arg(portNumber)
      .arg(locale.toString(now.date(), QLocale::ShortFormat), locale.toString(now.time(), longTimeFormat()));
}

bool append(const QString &fileName, int portNumber, const QByteArray &text) {
  QByteArray entry = cp1251::encode(header(portNumber));
  entry += text;
  entry += "\r\n";
  QMutexLocker guard(&fileMutex());
  LockedFile file(fileName);
  if (file.fd() < 0)
    return false;
  // A last line without its break gets one first, as rewriting the lines would give it.
  if (lastLineOpen(file.fd()))
    entry.prepend("\r\n");
  return writeAll(file.fd(), entry);
}

} // namespace modem_log
