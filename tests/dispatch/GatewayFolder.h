#pragma once
// The executable folder of a test whose gateway is a local one: kyv.ini names its address.
#include "GatewayTestFiles.h"
#include "support/AppFolder.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

class GatewayFolder : public AppFolder {
public:
  explicit GatewayFolder(const QString &gatewayUrl) {
    keepTrafficLocal();
    pointAt(gatewayUrl);
  }
  void pointAt(const QString &gatewayUrl) { writeText("kyv.ini", "[gateway]\r\nUrl=" + gatewayUrl + "\r\n"); }
};

// A port on 127.0.0.1 that is taken but never listens: every connection is refused at once,
// and no other server can come up there while the object lives.
class RefusingPort {
public:
  RefusingPort() {
    socket_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(socket_, reinterpret_cast<sockaddr *>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(socket_, reinterpret_cast<sockaddr *>(&address), &length);
    port_ = ntohs(address.sin_port);
  }
  ~RefusingPort() { ::close(socket_); }
  RefusingPort(const RefusingPort &) = delete;
  RefusingPort &operator=(const RefusingPort &) = delete;

  QString url() const { return QStringLiteral("http://127.0.0.1:%1/sms.asmx").arg(port_); }

private:
  int socket_ = -1;
  quint16 port_ = 0;
};
