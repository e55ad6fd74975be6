#pragma once
// A small HTTP server on 127.0.0.1 standing in for the SMS gateway: it keeps every request it
// receives, byte for byte, and answers each with what the test asks for. Connections are
// kept alive, one thread per connection.
#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

struct ReceivedRequest {
  QByteArray raw; // status line, headers and body exactly as received
  QByteArray method;
  QByteArray target; // path and query
  QByteArray body;
};

struct CannedAnswer {
  int status = 200;
  QByteArray reason = "OK";
  QByteArray contentType = "text/xml; charset=utf-8";
  QByteArray body;
  bool silent = false; // read the request and never answer
  bool hangUp = false; // read the request and close the connection without answering
};

Q_DECLARE_METATYPE(CannedAnswer) // a column of data-driven tests

class LocalGateway {
public:
  using Responder = std::function<CannedAnswer(const ReceivedRequest &)>;

  // port 0: an ephemeral port. Throws std::runtime_error when it cannot listen.
  explicit LocalGateway(quint16 port = 0);
  ~LocalGateway();
  LocalGateway(const LocalGateway &) = delete;
  LocalGateway &operator=(const LocalGateway &) = delete;

  quint16 port() const { return port_; }
  QString url(const QString &pathAndQuery = QStringLiteral("/sms.asmx")) const;

  void answerWith(const CannedAnswer &answer);
  void setResponder(Responder responder);

  // An ordinary SOAP answer of operation ("VerifySMSStatus") holding items as its result list.
  static CannedAnswer soapAnswer(const QString &operation, const QStringList &items);
  // A SOAP fault with faultstring text.
  static CannedAnswer soapFault(const QString &text);
  // The operation a request calls: the last part of its SOAPAction.
  static QByteArray operationOf(const ReceivedRequest &request);
  // The text of the request body's element name (<smsID>57</smsID> gives "57"); empty when absent.
  static QByteArray argumentOf(const ReceivedRequest &request, const QByteArray &name);

  // Off: requests are answered and not kept (a server that runs for long).
  void setKeepRequests(bool keep);
  QList<ReceivedRequest> requests() const;
  void clearRequests();
  int connectionCount() const { return connections_.load(); }

private:
  void acceptLoop();
  void serve(int socket);
  bool waitReadable(int socket);
  CannedAnswer answerFor(const ReceivedRequest &request);

  int listener_ = -1;
  int wakePipe_[2] = {-1, -1};
  quint16 port_ = 0;
  std::atomic<int> connections_{0};
  mutable std::mutex mutex_;
  Responder responder_;
  bool keepRequests_ = true;
  QList<ReceivedRequest> requests_;
  std::thread acceptor_;
  std::vector<std::thread> workers_; // touched by the acceptor thread only, joined at the end
};
