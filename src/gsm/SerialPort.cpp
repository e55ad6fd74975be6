#include "gsm/SerialPort.h"
#include "gsm/SerialSpeed.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
using Millis = std::chrono::milliseconds;
constexpr quint32 kMaxDword = 0xFFFFFFFFu;

[[noreturn]] void fail(int code) {
  throw SerialError(code);
}

// Waits for the events on fd at most `wait` (negative: without limit); returns revents, 0 on time-out.
short waitFor(int fd, short events, Clock::duration wait) {
  pollfd p{fd, events, 0};
  timespec ts{};
  timespec *limit = nullptr;
  if (wait >= Clock::duration::zero()) {
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
    ts.tv_sec = ns / 1000000000;
    ts.tv_nsec = ns % 1000000000;
    limit = &ts;
  }
  for (;;) {
    const int r = ppoll(&p, 1, limit, nullptr);
    if (r >= 0)
      return r == 0 ? 0 : p.revents;
    if (errno != EINTR)
      fail(errno);
  }
}

tcflag_t sizeFlag(quint8 byteSize) {
  switch (byteSize) {
  case 5:
    return CS5;
  case 6:
    return CS6;
  case 7:
    return CS7;
  case 8:
    return CS8;
  default:
    fail(EINVAL);
  }
}

} // namespace

SerialError::SerialError(int code) : AppError(QString::fromLocal8Bit(std::strerror(code))), code_(code) {}

SerialPort::SerialPort(const QString &devicePath) {
  const QByteArray path = devicePath.toLocal8Bit();
  fd_ = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0)
    fail(errno);
  auto giveUp = [this](int code) {
    ::close(fd_);
    fd_ = -1;
    fail(code);
  };
  if (!isatty(fd_))
    giveUp(ENOTTY);
  // The advisory lock also keeps out root and other links of this process; the exclusive
  // flag keeps out programs that do not take the lock.
  if (flock(fd_, LOCK_EX | LOCK_NB) != 0)
    giveUp(errno == EWOULDBLOCK ? EBUSY : errno);
  if (ioctl(fd_, TIOCEXCL) != 0)
    giveUp(errno);
  termios tio{};
  if (tcgetattr(fd_, &tio) != 0) {
    const int code = errno;
    ioctl(fd_, TIOCNXCL);
    giveUp(code);
  }
  // A Windows port hands over bytes unchanged; a terminal must be made raw for that.
  cfmakeraw(&tio);
  tio.c_cflag |= CLOCAL | CREAD;
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  if (tcsetattr(fd_, TCSANOW, &tio) != 0) {
    const int code = errno;
    ioctl(fd_, TIOCNXCL);
    giveUp(code);
  }
}

SerialPort::~SerialPort() {
  // On a pseudo-terminal the exclusive flag would outlive close() while the other side stays open.
  ioctl(fd_, TIOCNXCL);
  flock(fd_, LOCK_UN);
  ::close(fd_);
}

void SerialPort::purge() {
  if (tcflush(fd_, TCIOFLUSH) != 0)
    fail(errno);
}

LineState SerialPort::state() const {
  termios tio{};
  if (tcgetattr(fd_, &tio) != 0)
    fail(errno);
  LineState s;
  if (!serial_speed::read(fd_, s.BaudRate))
    fail(errno);
  switch (tio.c_cflag & CSIZE) {
  case CS5:
    s.ByteSize = 5;
    break;
  case CS6:
    s.ByteSize = 6;
    break;
  case CS7:
    s.ByteSize = 7;
    break;
  default:
    s.ByteSize = 8;
    break;
  }
  if (!(tio.c_cflag & PARENB))
    s.Parity = 0;
  else if (tio.c_cflag & CMSPAR)
    s.Parity = (tio.c_cflag & PARODD) ? 3 : 4;
  else
    s.Parity = (tio.c_cflag & PARODD) ? 1 : 2;
  if (tio.c_cflag & CSTOPB)
    s.StopBits = s.ByteSize == 5 ? 1 : 2; // a UART gives one and a half with five data bits
  else
    s.StopBits = 0;
  s.HardwareFlow = (tio.c_cflag & CRTSCTS) != 0;
  s.SoftwareFlow = (tio.c_iflag & (IXON | IXOFF)) != 0;
  return s;
}

void SerialPort::setState(const LineState &s) {
  termios tio{};
  if (tcgetattr(fd_, &tio) != 0)
    fail(errno);
  if (s.BaudRate == 0)
    fail(EINVAL);
  tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
  tio.c_cflag |= sizeFlag(s.ByteSize);
  switch (s.Parity) {
  case 0:
    break;
  case 1:
    tio.c_cflag |= PARENB | PARODD;
    break;
  case 2:
    tio.c_cflag |= PARENB;
    break;
  case 3:
    tio.c_cflag |= PARENB | CMSPAR | PARODD;
    break;
  case 4:
    tio.c_cflag |= PARENB | CMSPAR;
    break;
  default:
    fail(EINVAL);
  }
  // Like a Windows port: one and a half stop bits only with five data bits, two only with more.
  switch (s.StopBits) {
  case 0:
    break;
  case 1:
    if (s.ByteSize != 5)
      fail(EINVAL);
    tio.c_cflag |= CSTOPB;
    break;
  case 2:
    if (s.ByteSize == 5)
      fail(EINVAL);
    tio.c_cflag |= CSTOPB;
    break;
  default:
    fail(EINVAL);
  }
  if (s.HardwareFlow)
    tio.c_cflag |= CRTSCTS;
  tio.c_iflag &= ~(IXON | IXOFF);
  if (s.SoftwareFlow)
    tio.c_iflag |= IXON | IXOFF;
  if (tcsetattr(fd_, TCSANOW, &tio) != 0)
    fail(errno);
  if (!serial_speed::write(fd_, s.BaudRate))
    fail(errno);
}

void SerialPort::setTimeouts(const CommTimeouts &timeouts) {
  timeouts_ = timeouts;
}

qsizetype SerialPort::write(const QByteArray &bytes) {
  const auto &t = timeouts_;
  const bool limited = t.WriteTotalTimeoutMultiplier != 0 || t.WriteTotalTimeoutConstant != 0;
  const auto deadline = Clock::now() + Millis(qint64(t.WriteTotalTimeoutMultiplier) * bytes.size() +
                                              t.WriteTotalTimeoutConstant);
  qsizetype sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::write(fd_, bytes.constData() + sent, size_t(bytes.size() - sent));
    if (n > 0) {
      sent += n;
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EINTR)
      fail(errno);
    const auto left = limited ? deadline - Clock::now() : Clock::duration(-1);
    if (limited && left <= Clock::duration::zero())
      break;
    if (waitFor(fd_, POLLOUT, left) == 0)
      break;
  }
  return sent;
}

QByteArray SerialPort::read(qsizetype maxBytes) {
  QByteArray out;
  if (maxBytes <= 0)
    return out;
  const auto &t = timeouts_;
  const bool limited = t.ReadTotalTimeoutMultiplier != 0 || t.ReadTotalTimeoutConstant != 0;
  // MAXDWORD with no total limit: take what is there and return at once.
  const bool immediate = t.ReadIntervalTimeout == kMaxDword && !limited;
  const bool interval = t.ReadIntervalTimeout != 0 && !immediate;
  const auto start = Clock::now();
  const auto deadline =
      start + Millis(qint64(t.ReadTotalTimeoutMultiplier) * maxBytes + t.ReadTotalTimeoutConstant);
  auto lastByte = start;
  char buf[256];
  for (;;) {
    const auto now = Clock::now();
    std::optional<Clock::duration> wait; // none: no limit
    if (immediate)
      wait = Clock::duration::zero();
    else if (limited)
      wait = deadline - now;
    if (interval && !out.isEmpty()) {
      const auto quiet = lastByte + Millis(t.ReadIntervalTimeout) - now;
      wait = wait ? std::min(*wait, quiet) : quiet;
    }
    if (!immediate && wait && *wait <= Clock::duration::zero())
      break;
    const short ev = waitFor(fd_, POLLIN, wait.value_or(Clock::duration(-1)));
    if (ev == 0) {
      if (immediate)
        break;
      continue;
    }
    if (ev & POLLIN) {
      const ssize_t n = ::read(fd_, buf, size_t(std::min<qsizetype>(sizeof buf, maxBytes - out.size())));
      if (n > 0) {
        out.append(buf, n);
        lastByte = Clock::now();
        if (out.size() >= maxBytes || immediate)
          break;
        continue;
      }
      if (n < 0 && (errno == EAGAIN || errno == EINTR))
        continue;
      if (n < 0 && out.isEmpty())
        fail(errno);
      break;
    }
    // Hang-up or error on the line.
    if (out.isEmpty())
      fail(EIO);
    break;
  }
  return out;
}
