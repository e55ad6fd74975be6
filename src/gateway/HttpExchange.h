#pragma once
// One HTTP request and its whole answer, on libcurl. Proxy settings of the environment
// (http_proxy, https_proxy, no_proxy) apply as libcurl reads them.
#include <QByteArray>

#include <chrono>

namespace gateway {

class CurlHeaderList;

// Without limits a gateway that accepts the connection and never answers would hold the
// calling thread for ever; each limit ends the call as an ordinary failure.
struct HttpTimeouts {
  std::chrono::milliseconds connect{30000};
  std::chrono::milliseconds idle{60000}; // longest wait without a byte moving, once connected

  bool operator==(const HttpTimeouts &) const = default;
};

struct HttpReply {
  int status = 0;
  QByteArray reason;      // reason phrase of the status line
  QByteArray contentType; // as received, empty when absent
  QByteArray body;
};

// headers are sent as given after Host; "Name:" with nothing after it removes a header
// libcurl would otherwise add by itself. The list must live until the call returns; callers
// keep theirs for the calls that send the same lines. Consecutive calls of one thread share
// its connection to the gateway. Throws GatewayError when no answer arrives.
HttpReply httpPost(const QByteArray &url, const CurlHeaderList &headers, const QByteArray &body,
                   const HttpTimeouts &timeouts);
HttpReply httpGet(const QByteArray &url, const CurlHeaderList &headers, const HttpTimeouts &timeouts);

} // namespace gateway
