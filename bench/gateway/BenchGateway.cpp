#include "BenchGateway.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace {

// Bytes of one complete request at the start of data, or 0 while it is incomplete.
size_t completeRequest(const char *data, size_t size) {
  const void *headEnd = memmem(data, size, "\r\n\r\n", 4);
  if (!headEnd)
    return 0;
  const size_t headSize = size_t(static_cast<const char *>(headEnd) - data) + 4;
  static constexpr char name[] = "\r\nContent-Length: ";
  const void *field = memmem(data, headSize, name, sizeof name - 1);
  const size_t bodySize =
      field ? std::strtoul(static_cast<const char *>(field) + sizeof name - 1, nullptr, 10) : 0;
  return size >= headSize + bodySize ? headSize + bodySize : 0;
}

void sendAll(int socket, const char *data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::send(socket, data, size, MSG_NOSIGNAL);
    if (n <= 0)
      return;
    data += n;
    size -= size_t(n);
  }
}

} // namespace

BenchGateway::BenchGateway(const QByteArray &body)
    : answer_("HTTP/1.1 200 OK\r\nContent-Type: text/xml; charset=utf-8\r\nContent-Length: " +
              QByteArray::number(body.size()) + "\r\n\r\n" + body) {
  listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
      ::listen(listener_, 16) != 0)
    throw std::runtime_error("cannot listen on 127.0.0.1");
  socklen_t length = sizeof address;
  ::getsockname(listener_, reinterpret_cast<sockaddr *>(&address), &length);
  port_ = ntohs(address.sin_port);
  acceptor_ = std::thread([this] { acceptLoop(); });
}

BenchGateway::~BenchGateway() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    for (int socket : sockets_)
      ::shutdown(socket, SHUT_RDWR); // wakes the worker's recv
  }
  ::shutdown(listener_, SHUT_RDWR); // wakes accept
  acceptor_.join();
  for (std::thread &worker : workers_)
    worker.join();
  for (int socket : sockets_)
    ::close(socket);
  ::close(listener_);
}

QString BenchGateway::url() const {
  return QStringLiteral("http://127.0.0.1:%1/sms.asmx").arg(port_);
}

void BenchGateway::acceptLoop() {
  for (;;) {
    const int socket = ::accept(listener_, nullptr, nullptr);
    if (socket < 0)
      return;
    const int one = 1;
    ::setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    std::lock_guard lock(mutex_);
    if (stopping_) {
      ::close(socket);
      return;
    }
    sockets_.push_back(socket);
    workers_.emplace_back([this, socket] { serve(socket); });
  }
}

void BenchGateway::serve(int socket) {
  std::vector<char> buffer(1 << 16);
  size_t held = 0;
  for (;;) {
    if (held == buffer.size())
      buffer.resize(buffer.size() * 2);
    const ssize_t n = ::recv(socket, buffer.data() + held, buffer.size() - held, 0);
    if (n <= 0)
      break;
    held += size_t(n);
    while (const size_t used = completeRequest(buffer.data(), held)) {
      sendAll(socket, answer_.constData(), size_t(answer_.size()));
      std::memmove(buffer.data(), buffer.data() + used, held - used);
      held -= used;
    }
  }
  // closed by the destructor, after every worker has stopped using it
}
