#pragma once
// The cheapest HTTP server that can stand in for the gateway: on 127.0.0.1 (ephemeral port),
// one thread per kept-alive connection, one fixed answer sent for every complete request,
// no allocation per request. Both loops of the benchmark talk to it, so its cost is the same
// for both and the ratio shows what the client adds.
#include <QByteArray>
#include <QString>

#include <mutex>
#include <thread>
#include <vector>

class BenchGateway {
public:
  // body is sent with status 200 and Content-Type text/xml for every request.
  explicit BenchGateway(const QByteArray &body);
  ~BenchGateway();
  BenchGateway(const BenchGateway &) = delete;
  BenchGateway &operator=(const BenchGateway &) = delete;

  QString url() const;

private:
  void acceptLoop();
  void serve(int socket);

  int listener_ = -1;
  quint16 port_ = 0;
  QByteArray answer_; // status line, headers and body
  std::mutex mutex_;
  bool stopping_ = false;
  std::vector<int> sockets_;
  std::vector<std::thread> workers_;
  std::thread acceptor_;
};
