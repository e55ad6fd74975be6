#include "gateway/HttpExchange.h"

#include "gateway/CurlEasy.h"
#include "gateway/GatewayError.h"

#include <chrono>
#include <cstring>
#include <memory>

namespace gateway {

namespace {

// Ends a transfer that moved no byte for longer than the idle limit. libcurl's own
// low-speed check averages over several seconds and so cannot hold a short limit.
struct IdleWatch {
  using Clock = std::chrono::steady_clock;
  std::chrono::milliseconds limit{};
  bool connected = false;
  Clock::time_point lastMove{};
  curl_off_t received = 0;
  curl_off_t sent = 0;
  bool expired = false;
};

size_t appendBody(char *data, size_t size, size_t count, void *target) {
  static_cast<HttpReply *>(target)->body.append(data, qsizetype(size * count));
  return size * count;
}

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Keeps the reason phrase of the last status line ("HTTP/1.1 404 Not Found").
size_t readStatusLine(char *data, size_t size, size_t count, void *target) {
  const size_t length = size * count;
  if (length > 5 && std::memcmp(data, "HTTP/", 5) == 0) {
    const char *end = data + length;
    while (end > data && isBlank(end[-1]))
      --end;
    const char *code = static_cast<const char *>(std::memchr(data, ' ', size_t(end - data)));
    const char *reason =
        code ? static_cast<const char *>(std::memchr(code + 1, ' ', size_t(end - code - 1))) : nullptr;
    QByteArray &kept = static_cast<HttpReply *>(target)->reason;
    if (reason)
      kept = QByteArray(reason + 1, end - reason - 1);
    else
      kept.clear();
  }
  return length;
}

// Called when the connection is ready, just before the request goes out.
int startWatching(void *target, char *, char *, int, int) {
  auto *watch = static_cast<IdleWatch *>(target);
  watch->connected = true;
  watch->lastMove = IdleWatch::Clock::now();
  return CURL_PREREQFUNC_OK;
}

int checkIdle(void *target, curl_off_t, curl_off_t received, curl_off_t, curl_off_t sent) {
  auto *watch = static_cast<IdleWatch *>(target);
  if (!watch->connected)
    return 0;
  const auto now = IdleWatch::Clock::now();
  if (received != watch->received || sent != watch->sent) {
    watch->received = received;
    watch->sent = sent;
    watch->lastMove = now;
    return 0;
  }
  watch->expired = now - watch->lastMove > watch->limit;
  return watch->expired ? 1 : 0;
}

QString seconds(std::chrono::milliseconds span) {
  return QString::number(double(span.count()) / 1000.0);
}

template <typename Value> void setOption(CURL *curl, CURLoption option, Value value) {
  const CURLcode rc = curl_easy_setopt(curl, option, value);
  if (rc != CURLE_OK)
    throw GatewayError(QStringLiteral("The HTTP library refused an option: %1")
                           .arg(QString::fromUtf8(curl_easy_strerror(rc))));
}

QString failureText(CURLcode rc, const char *detail, const IdleWatch &watch, const QByteArray &url,
                    const HttpTimeouts &timeouts) {
  const QString where = QString::fromUtf8(url);
  if (rc == CURLE_ABORTED_BY_CALLBACK && watch.expired)
    return QStringLiteral("The gateway sent nothing for %1 s; the call was abandoned - '%2'")
        .arg(seconds(timeouts.idle), where);
  if (rc == CURLE_OPERATION_TIMEDOUT && !watch.connected)
    return QStringLiteral("No connection to the gateway within %1 s - '%2'")
        .arg(seconds(timeouts.connect), where);
  const QString text = detail[0] ? QString::fromUtf8(detail) : QString::fromUtf8(curl_easy_strerror(rc));
  return QStringLiteral("%1 - '%2'").arg(text, where);
}

// A handle with everything its options point to. The options every call shares are set
// once; a call sets only what differs from the call before, so consecutive calls of a worker
// cost little more than the exchange itself and reuse the open connection to the gateway.
class Channel {
public:
  Channel() {
    CURL *curl = easy_.get();
    setOption(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    setOption(curl, CURLOPT_NOSIGNAL, 1L); // called from several threads
    // HTTP/1.1 keeps the status line's reason phrase and the exact header set on the wire.
    setOption(curl, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_1));
    setOption(curl, CURLOPT_PREREQFUNCTION, startWatching);
    setOption(curl, CURLOPT_PREREQDATA, &watch_);
    setOption(curl, CURLOPT_XFERINFOFUNCTION, checkIdle);
    setOption(curl, CURLOPT_XFERINFODATA, &watch_);
    setOption(curl, CURLOPT_NOPROGRESS, 0L);
    setOption(curl, CURLOPT_ERRORBUFFER, detail_);
    setOption(curl, CURLOPT_WRITEFUNCTION, appendBody);
    setOption(curl, CURLOPT_WRITEDATA, &reply_);
    setOption(curl, CURLOPT_HEADERFUNCTION, readStatusLine);
    setOption(curl, CURLOPT_HEADERDATA, &reply_);
  }
  Channel(const Channel &) = delete;
  Channel &operator=(const Channel &) = delete;

  HttpReply perform(const QByteArray &url, const CurlHeaderList &headers, const QByteArray *postBody,
                    const HttpTimeouts &timeouts) {
    CURL *curl = easy_.get();
    if (url != url_) {
      url_.clear(); // a refused address must not count as set
      setOption(curl, CURLOPT_URL, url.constData());
      url_ = url;
    }
    if (headers.get() != headers_) {
      setOption(curl, CURLOPT_HTTPHEADER, headers.get());
      headers_ = headers.get();
    }
    if (timeouts.connect != connectTimeout_) {
      setOption(curl, CURLOPT_CONNECTTIMEOUT_MS, long(timeouts.connect.count()));
      connectTimeout_ = timeouts.connect;
    }
    if (postBody) {
      setOption(curl, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(postBody->size()));
      setOption(curl, CURLOPT_POSTFIELDS, postBody->constData());
    } else {
      setOption(curl, CURLOPT_HTTPGET, 1L);
    }
    watch_ = IdleWatch{timeouts.idle};
    reply_ = HttpReply();
    detail_[0] = '\0';

    const CURLcode rc = curl_easy_perform(curl);
    if (postBody) // the body belongs to the caller; nothing may keep pointing at it
      curl_easy_setopt(curl, CURLOPT_POSTFIELDS, static_cast<const char *>(nullptr));
    if (rc != CURLE_OK)
      throw GatewayError(failureText(rc, detail_, watch_, url, timeouts));

    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    reply_.status = int(status);
    const char *contentType = nullptr;
    curl_easy_getinfo(curl, CURLINFO_CONTENT_TYPE, &contentType);
    if (contentType)
      reply_.contentType = QByteArray(contentType);
    return std::move(reply_);
  }

private:
  CurlEasy easy_;
  HttpReply reply_;
  IdleWatch watch_;
  char detail_[CURL_ERROR_SIZE] = {};
  // What the handle holds from the call before.
  QByteArray url_;
  const curl_slist *headers_ = nullptr;
  std::chrono::milliseconds connectTimeout_{-1};
};

// Each thread keeps its last channel. It is lent to one transfer at a time.
thread_local std::unique_ptr<Channel> idleChannel;

class LentChannel {
public:
  LentChannel() : channel_(idleChannel ? std::move(idleChannel) : std::make_unique<Channel>()) {}
  ~LentChannel() {
    if (!idleChannel)
      idleChannel = std::move(channel_);
  }
  LentChannel(const LentChannel &) = delete;
  LentChannel &operator=(const LentChannel &) = delete;
  Channel *operator->() const { return channel_.get(); }

private:
  std::unique_ptr<Channel> channel_;
};

} // namespace

HttpReply httpPost(const QByteArray &url, const CurlHeaderList &headers, const QByteArray &body,
                   const HttpTimeouts &timeouts) {
  return LentChannel()->perform(url, headers, &body, timeouts);
}

HttpReply httpGet(const QByteArray &url, const CurlHeaderList &headers, const HttpTimeouts &timeouts) {
  return LentChannel()->perform(url, headers, nullptr, timeouts);
}

} // namespace gateway
