#include "ScriptedPop3.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

Pop3Script servingMessages(const QList<QByteArray> &messages, const QByteArray &silentFrom) {
  Pop3Script script;
  script.messages = messages;
  script.silentFrom = silentFrom;
  return script;
}

Pop3Script greetingWith(const QByteArray &greeting) {
  Pop3Script script;
  script.greeting = greeting;
  return script;
}

Pop3Script silentServer() {
  Pop3Script script;
  script.silent = true;
  return script;
}

Pop3Script hangingUpServer() {
  Pop3Script script;
  script.hangUp = true;
  return script;
}

ScriptedPop3::ScriptedPop3(const Pop3Script &script) : script_(script) {
  listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
      ::listen(listener_, 8) != 0 ||
      ::getsockname(listener_, reinterpret_cast<sockaddr *>(&address), &length) != 0 ||
      ::pipe(wakePipe_) != 0)
    throw std::runtime_error("the scripted POP3 server could not listen on 127.0.0.1");
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { acceptLoop(); });
}

ScriptedPop3::~ScriptedPop3() {
  stopping_ = true;
  const char wake = 1;
  (void)!::write(wakePipe_[1], &wake, 1);
  thread_.join();
  ::close(listener_);
  ::close(wakePipe_[0]);
  ::close(wakePipe_[1]);
}

QByteArray ScriptedPop3::received() const {
  std::lock_guard lock(mutex_);
  return received_;
}

void ScriptedPop3::acceptLoop() {
  while (!stopping_) {
    pollfd fds[2] = {{listener_, POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
    if (::poll(fds, 2, -1) <= 0 || (fds[1].revents & POLLIN))
      return;
    const int socket = ::accept(listener_, nullptr, nullptr);
    if (socket < 0)
      continue;
    ++connections_;
    serve(socket);
    ::close(socket);
  }
}

bool ScriptedPop3::readMore(int socket, QByteArray &buffer) {
  pollfd fds[2] = {{socket, POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
  if (::poll(fds, 2, -1) <= 0 || (fds[1].revents & POLLIN))
    return false;
  char chunk[4096];
  const ssize_t n = ::recv(socket, chunk, sizeof chunk, 0);
  if (n <= 0)
    return false;
  buffer.append(chunk, n);
  std::lock_guard lock(mutex_);
  received_.append(chunk, n);
  return true;
}

void ScriptedPop3::send(int socket, const QByteArray &bytes) {
  (void)!::send(socket, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL);
}

void ScriptedPop3::serve(int socket) {
  QByteArray buffer;
  if (script_.hangUp)
    return;
  if (script_.silent) {
    while (readMore(socket, buffer)) {
    }
    return;
  }
  send(socket, script_.greeting + "\r\n");
  bool answering = !script_.greeting.startsWith("-ERR");
  while (true) {
    const qsizetype end = buffer.indexOf("\r\n");
    if (end < 0) {
      if (!readMore(socket, buffer))
        return;
      continue;
    }
    const QByteArray line = buffer.left(end);
    buffer.remove(0, end + 2);
    const QList<QByteArray> words = line.split(' ');
    const QByteArray command = words.first().toUpper();
    if (!script_.silentFrom.isEmpty() && command == script_.silentFrom)
      answering = false;
    if (!answering)
      continue;
    if (command == "CAPA") {
      send(socket, script_.capa + "\r\n");
    } else if (command == "USER") {
      send(socket, "+OK\r\n");
    } else if (command == "PASS") {
      send(socket, "+OK logged in\r\n");
    } else if (command == "STAT") {
      qsizetype size = 0;
      for (const QByteArray &m : script_.messages)
        size += m.size();
      send(socket,
           "+OK " + QByteArray::number(script_.messages.size()) + ' ' + QByteArray::number(size) + "\r\n");
    } else if (command == "RETR") {
      const int number = words.value(1).toInt();
      if (number < 1 || number > script_.messages.size()) {
        send(socket, "-ERR no such message\r\n");
        continue;
      }
      QByteArray body = script_.messages[number - 1];
      body.replace("\r\n.", "\r\n..");
      if (body.startsWith('.'))
        body.prepend('.');
      send(socket, "+OK message follows\r\n" + body + (body.endsWith("\r\n") ? "" : "\r\n") + ".\r\n");
    } else if (command == "QUIT") {
      send(socket, "+OK bye\r\n");
      return;
    } else {
      send(socket, "-ERR unknown command\r\n");
    }
  }
}
