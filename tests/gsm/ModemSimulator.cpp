#include "ModemSimulator.h"
#include "PtyLineSpeed.h"

#include <QElapsedTimer>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {
constexpr char kCtrlZ = 26;
constexpr char kEscape = 27;

int hexAt(const QByteArray &hex, qsizetype &pos) {
  const int v = hex.mid(pos, 2).toInt(nullptr, 16);
  pos += 2;
  return v;
}
} // namespace

ModemSimulator::ModemSimulator(Behaviour behaviour) : behaviour_(behaviour) {
  char name[256] = {};
  if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
    throw std::runtime_error("openpty failed");
  termios tio{};
  tcgetattr(slave_, &tio);
  cfmakeraw(&tio);
  tcsetattr(slave_, TCSANOW, &tio);
  fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
  path_ = QString::fromLocal8Bit(name);
  thread_ = std::thread([this] { run(); });
}

ModemSimulator::~ModemSimulator() {
  stop_ = true;
  thread_.join();
  ::close(slave_);
  ::close(master_);
}

void ModemSimulator::refusePrompt(const QByteArray &answer) {
  QMutexLocker lock(&mutex_);
  promptRefused_ = true;
  promptRefusal_ = answer;
}

void ModemSimulator::refusePdu(int index, const QByteArray &answer) {
  QMutexLocker lock(&mutex_);
  pduRefusals_.insert(index, answer);
}

void ModemSimulator::setReply(const QByteArray &command, const QByteArray &reply) {
  QMutexLocker lock(&mutex_);
  replies_.insert(command, reply);
}

void ModemSimulator::sendUnsolicited(const QByteArray &bytes) {
  int before = 0;
  ioctl(slave_, FIONREAD, &before);
  answer(bytes);
  QElapsedTimer timer;
  timer.start();
  int pending = 0;
  while (timer.elapsed() < 2000 && ioctl(slave_, FIONREAD, &pending) == 0 && pending < before + bytes.size())
    std::this_thread::yield();
}

QList<QByteArray> ModemSimulator::commands() const {
  QMutexLocker lock(&mutex_);
  return commands_;
}

QList<quint32> ModemSimulator::commandSpeeds() const {
  QMutexLocker lock(&mutex_);
  return commandSpeeds_;
}

QList<ModemSimulator::Message> ModemSimulator::messages() const {
  QMutexLocker lock(&mutex_);
  return messages_;
}

QByteArray ModemSimulator::received() const {
  QMutexLocker lock(&mutex_);
  return received_;
}

void ModemSimulator::clearRecord() {
  QMutexLocker lock(&mutex_);
  commands_.clear();
  commandSpeeds_.clear();
  messages_.clear();
  received_.clear();
}

void ModemSimulator::run() {
  char buf[512];
  while (!stop_) {
    pollfd p{master_, POLLIN, 0};
    if (poll(&p, 1, 10) <= 0)
      continue;
    const ssize_t n = ::read(master_, buf, sizeof buf);
    if (n <= 0)
      continue;
    {
      QMutexLocker lock(&mutex_);
      received_.append(buf, n);
      buffer_.append(buf, n);
    }
    handle();
  }
}

void ModemSimulator::answer(const QByteArray &bytes) {
  auto put = [this](const QByteArray &piece) {
    qsizetype done = 0;
    while (done < piece.size()) {
      const ssize_t n = ::write(master_, piece.constData() + done, size_t(piece.size() - done));
      if (n > 0)
        done += n;
      else if (errno != EAGAIN && errno != EINTR)
        return;
    }
  };
  if (split_ && bytes.size() > 2) {
    put(bytes.left(2));
    // Long enough for the link's read to end between the pieces.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    put(bytes.mid(2));
  } else {
    put(bytes);
  }
}

void ModemSimulator::handle() {
  for (;;) {
    QByteArray reply;
    {
      QMutexLocker lock(&mutex_);
      if (awaitingPdu_) {
        while (buffer_.startsWith('\n')) // the LF after the command's CR
          buffer_.remove(0, 1);
        const qsizetype end = buffer_.indexOf(kCtrlZ);
        const qsizetype cancel = buffer_.indexOf(kEscape);
        if (cancel >= 0 && (end < 0 || cancel < end)) {
          buffer_.remove(0, cancel + 1);
          awaitingPdu_ = false;
          continue;
        }
        if (end < 0)
          return;
        const QByteArray pdu = buffer_.left(end);
        buffer_.remove(0, end + 1);
        awaitingPdu_ = false;
        const int index = int(messages_.size());
        messages_.append(decode(pdu));
        if (behaviour_ == Behaviour::Silent)
          continue;
        // Like a real modem: the length announced with AT+CMGS must be the octets after the
        // service centre address, or the PDU is refused.
        qsizetype pos = 0;
        const int tpduOctets = int(pdu.size() / 2) - 1 - hexAt(pdu, pos);
        if (pduRefusals_.contains(index))
          reply = pduRefusals_.value(index);
        else if (pdu.size() % 2 != 0 || tpduOctets != announcedLength_)
          reply = "\r\n+CMS ERROR: 304\r\n";
        else
          reply = QByteArray("\r\n+CMGS: ") + QByteArray::number(index + 1) + "\r\n\r\nOK\r\n";
      } else {
        while (buffer_.startsWith('\n') || buffer_.startsWith('\r'))
          buffer_.remove(0, 1);
        const qsizetype end = buffer_.indexOf('\r');
        if (end < 0)
          return;
        const QByteArray line = buffer_.left(end);
        buffer_.remove(0, end + 1);
        commands_.append(line);
        commandSpeeds_.append(ptyLineSpeed(slave_));
        if (behaviour_ == Behaviour::Silent)
          continue;
        if (replies_.contains(line))
          reply = replies_.value(line);
        else if (behaviour_ == Behaviour::ErrorToAll)
          reply = "\r\nERROR\r\n";
        else if (line.toUpper().startsWith("AT+CMGS=")) {
          if (promptRefused_) {
            reply = promptRefusal_;
          } else {
            reply = "\r\n> ";
            awaitingPdu_ = true;
            announcedLength_ = line.mid(8).toInt();
          }
        } else
          reply = "\r\nOK\r\n";
      }
    }
    if (!reply.isEmpty())
      answer(reply);
  }
}

ModemSimulator::Message ModemSimulator::decode(const QByteArray &pdu) {
  Message m;
  m.pdu = pdu;
  qsizetype pos = 0;
  hexAt(pdu, pos); // service centre length
  hexAt(pdu, pos); // first octet
  hexAt(pdu, pos); // message reference
  m.addressLength = hexAt(pdu, pos);
  hexAt(pdu, pos); // type of address
  // The address field takes whole octets: the digits under the length, rounded up.
  const int addressChars = (m.addressLength + 1) / 2 * 2;
  const QByteArray address = pdu.mid(pos, addressChars);
  pos += addressChars;
  for (qsizetype i = 0; i + 1 < address.size(); i += 2) {
    m.number += QLatin1Char(address.at(i + 1));
    m.number += QLatin1Char(address.at(i));
  }
  m.number.remove(QLatin1Char('F'));
  hexAt(pdu, pos); // protocol identifier
  m.coding = hexAt(pdu, pos);
  hexAt(pdu, pos); // validity period
  m.userDataLength = hexAt(pdu, pos);
  const QByteArray data = QByteArray::fromHex(pdu.mid(pos));
  if (m.coding & 0x08) {
    for (qsizetype i = 0; i + 1 < data.size(); i += 2)
      m.text += QChar(char16_t((quint8(data.at(i)) << 8) | quint8(data.at(i + 1))));
  } else {
    for (int k = 0; k < m.userDataLength; ++k) {
      const int bit = k * 7;
      const int byte = bit / 8;
      const int shift = bit % 8;
      int v = (byte < data.size() ? quint8(data.at(byte)) : 0) >> shift;
      if (shift > 1 && byte + 1 < data.size())
        v |= quint8(data.at(byte + 1)) << (8 - shift);
      m.septets.append(char(v & 0x7F));
    }
    m.text = QString::fromLatin1(m.septets);
  }
  return m;
}
