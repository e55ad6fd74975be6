#include "LocalGateway.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace {

void sendAll(int socket, const QByteArray &bytes) {
  qsizetype sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::send(socket, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
    if (n <= 0)
      return;
    sent += n;
  }
}

qsizetype contentLength(const QByteArray &head) {
  for (const QByteArray &line : head.split('\n')) {
    const qsizetype colon = line.indexOf(':');
    if (colon > 0 && line.left(colon).trimmed().toLower() == "content-length")
      return line.mid(colon + 1).trimmed().toLongLong();
  }
  return 0;
}

QByteArray render(const CannedAnswer &answer) {
  QByteArray out = "HTTP/1.1 " + QByteArray::number(answer.status) + ' ' + answer.reason + "\r\n";
  if (!answer.contentType.isEmpty())
    out += "Content-Type: " + answer.contentType + "\r\n";
  out += "Content-Length: " + QByteArray::number(answer.body.size()) + "\r\n\r\n";
  return out + answer.body;
}

QByteArray xmlText(const QString &text) {
  return text.toHtmlEscaped().toUtf8();
}

} // namespace

CannedAnswer LocalGateway::soapAnswer(const QString &operation, const QStringList &items) {
  QByteArray list;
  for (const QString &item : items)
    list += "<anyType xsi:type=\"xsd:string\">" + xmlText(item) + "</anyType>";
  const QByteArray name = operation.toUtf8();
  CannedAnswer answer;
  answer.body = "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
                "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
                "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"><soap:Body><" +
                name + "Response xmlns=\"http://sms.kelvanor.ru\"><" + name + "Result>" + list + "</" + name +
                "Result></" + name + "Response></soap:Body></soap:Envelope>";
  return answer;
}

CannedAnswer LocalGateway::soapFault(const QString &text) {
  CannedAnswer answer;
  answer.status = 500;
  answer.reason = "Internal Server Error";
  answer.body = "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
                "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body><soap:Fault>"
                "<faultcode>soap:Server</faultcode><faultstring>" +
                xmlText(text) + "</faultstring></soap:Fault></soap:Body></soap:Envelope>";
  return answer;
}

QByteArray LocalGateway::operationOf(const ReceivedRequest &request) {
  for (const QByteArray &line : request.raw.left(request.raw.indexOf("\r\n\r\n")).split('\n')) {
    const qsizetype colon = line.indexOf(':');
    if (colon > 0 && line.left(colon).trimmed().toLower() == "soapaction") {
      QByteArray action = line.mid(colon + 1).trimmed();
      if (action.startsWith('"') && action.endsWith('"'))
        action = action.mid(1, action.size() - 2);
      return action.mid(action.lastIndexOf('/') + 1);
    }
  }
  return {};
}

QByteArray LocalGateway::argumentOf(const ReceivedRequest &request, const QByteArray &name) {
  const QByteArray open = '<' + name + '>';
  const qsizetype start = request.body.indexOf(open);
  if (start < 0)
    return {};
  const qsizetype end = request.body.indexOf("</" + name + '>', start);
  return end < 0 ? QByteArray() : request.body.mid(start + open.size(), end - start - open.size());
}

LocalGateway::LocalGateway(quint16 port) {
  if (::pipe(wakePipe_) != 0)
    throw std::runtime_error("pipe failed");
  listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  const int reuse = 1;
  if (listener_ >= 0)
    ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
  if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
      ::listen(listener_, 64) != 0)
    throw std::runtime_error("cannot listen on 127.0.0.1");
  socklen_t length = sizeof address;
  ::getsockname(listener_, reinterpret_cast<sockaddr *>(&address), &length);
  port_ = ntohs(address.sin_port);
  responder_ = [](const ReceivedRequest &) { return CannedAnswer{}; };
  acceptor_ = std::thread([this] { acceptLoop(); });
}

LocalGateway::~LocalGateway() {
  const char stop = 1;
  [[maybe_unused]] const ssize_t written = ::write(wakePipe_[1], &stop, 1); // readable for every thread
  acceptor_.join();
  for (std::thread &worker : workers_)
    worker.join();
  ::close(listener_);
  ::close(wakePipe_[0]);
  ::close(wakePipe_[1]);
}

QString LocalGateway::url(const QString &pathAndQuery) const {
  return QStringLiteral("http://127.0.0.1:%1%2").arg(port_).arg(pathAndQuery);
}

void LocalGateway::answerWith(const CannedAnswer &answer) {
  setResponder([answer](const ReceivedRequest &) { return answer; });
}

void LocalGateway::setResponder(Responder responder) {
  std::lock_guard lock(mutex_);
  responder_ = std::move(responder);
}

void LocalGateway::setKeepRequests(bool keep) {
  std::lock_guard lock(mutex_);
  keepRequests_ = keep;
}

QList<ReceivedRequest> LocalGateway::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void LocalGateway::clearRequests() {
  std::lock_guard lock(mutex_);
  requests_.clear();
}

CannedAnswer LocalGateway::answerFor(const ReceivedRequest &request) {
  Responder responder;
  {
    std::lock_guard lock(mutex_);
    if (keepRequests_)
      requests_.append(request);
    responder = responder_;
  }
  return responder(request);
}

// False when the server is stopping.
bool LocalGateway::waitReadable(int socket) {
  pollfd fds[2] = {{socket, POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
  while (::poll(fds, 2, -1) < 0) {
  }
  return !(fds[1].revents & POLLIN);
}

void LocalGateway::acceptLoop() {
  while (waitReadable(listener_)) {
    const int socket = ::accept(listener_, nullptr, nullptr);
    if (socket < 0)
      continue;
    const int one = 1;
    ::setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    ++connections_;
    workers_.emplace_back([this, socket] { serve(socket); });
  }
}

void LocalGateway::serve(int socket) {
  QByteArray pending;
  char chunk[16384];
  while (waitReadable(socket)) {
    const ssize_t n = ::recv(socket, chunk, sizeof chunk, 0);
    if (n <= 0)
      break;
    pending.append(chunk, n);
    for (;;) {
      const qsizetype headEnd = pending.indexOf("\r\n\r\n");
      if (headEnd < 0)
        break;
      const qsizetype total = headEnd + 4 + contentLength(pending.left(headEnd));
      if (pending.size() < total)
        break;
      ReceivedRequest request;
      request.raw = pending.left(total);
      request.body = pending.mid(headEnd + 4, total - headEnd - 4);
      const QList<QByteArray> requestLine = pending.left(pending.indexOf("\r\n")).split(' ');
      request.method = requestLine.value(0);
      request.target = requestLine.value(1);
      pending.remove(0, total);
      const CannedAnswer answer = answerFor(request);
      if (answer.hangUp) {
        ::close(socket);
        return;
      }
      if (!answer.silent)
        sendAll(socket, render(answer));
    }
  }
  ::close(socket);
}
