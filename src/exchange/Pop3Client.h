#pragma once
// A POP3 session on libcurl: connect, read the greeting, log in with the user name and
// password, STAT, RETR for each message, QUIT when closed. Messages are never deleted.
// libcurl asks CAPA first and logs in with USER and PASS, or with AUTH PLAIN when the server
// offers it (plain text either way); it undoes the dot-stuffing of retrieved messages.
//
// Every wait is bounded by the time-outs: a server that never answers ends in MailError.
#include "exchange/MailTimeouts.h"
#include "exchange/Pop3Address.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace mail {

class Pop3Client {
public:
  enum class Opened {
    Open,    // logged in; messageCount() holds the STAT count
    NotReady // the server was reached but did not greet with +OK (or hung up first)
  };

  explicit Pop3Client(const MailTimeouts &timeouts = {});
  ~Pop3Client(); // closes
  Pop3Client(const Pop3Client &) = delete;
  Pop3Client &operator=(const Pop3Client &) = delete;

  // Connects, logs in and asks STAT. Throws MailError with the mail layer's text when the host
  // is not found, the connection is refused, a time-out runs out, the login or STAT is refused.
  Opened open(const Pop3Address &address, const QString &user, const QString &password);
  bool isOpen() const { return open_; }
  // The first number of the STAT answer.
  int messageCount() const { return count_; }
  // RETR number (from 1): the whole message, header and body, as the server keeps it. Throws
  // MailError when the server refuses or the connection fails.
  QByteArray retrieve(int number);
  // Ends the session with QUIT and closes the connection; nothing when not open. Never throws.
  void close() noexcept;

private:
  struct Session;
  MailTimeouts timeouts_;
  std::unique_ptr<Session> session_;
  Pop3Address address_;
  bool open_ = false;
  int count_ = 0;
};

} // namespace mail
