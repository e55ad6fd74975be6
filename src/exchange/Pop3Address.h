#pragma once
// The mail server as the options row names it (EMPOP): "host" or "host:port"; an IPv6
// address goes in brackets ("[::1]" or "[::1]:1110"). The port is 110 when none is given.
#include <QString>

namespace mail {

struct Pop3Address {
  static constexpr quint16 defaultPort = 110;

  QString host; // without brackets
  quint16 port = defaultPort;

  // Throws MailError for an empty host, a port that is not a number from 1 to 65535, or
  // characters no host name can hold.
  static Pop3Address parse(const QString &text);
  // "pop3://host:port/" followed by path.
  QByteArray url(const QByteArray &path = {}) const;
};

} // namespace mail
