#include "gateway/HttpExchange.h"

#include "gateway/CurlEasy.h"
#include "gateway/GatewayError.h"

#include <chrono>
#include <cstring>
#include <memory>

namespace gateway {

namespace {

// Each thread keeps its last handle, so that consecutive calls of one worker reuse the open
// connection to the gateway instead of connecting anew for every message. The handle is lent
// to one transfer at a time, and every option is cleared when the transfer ends.
thread_local std::unique_ptr<CurlEasy> idleHandle;

class LentHandle {
public:
  LentHandle() : handle_(idleHandle ? std::move(idleHandle) : std::make_unique<CurlEasy>()) {}
  ~LentHandle() {
    // The options point into the finished transfer's buffers; none may outlive it.
    handle_->reset();
    if (!idleHandle)
      idleHandle = std::move(handle_);
  }
  LentHandle(const LentHandle &) = delete;
  LentHandle &operator=(const LentHandle &) = delete;
  CURL *get() const { return handle_->get(); }

private:
  std::unique_ptr<CurlEasy> handle_;
};

size_t appendBody(char *data, size_t size, size_t count, void *target) {
  static_cast<HttpReply *>(target)->body.append(data, qsizetype(size * count));
  return size * count;
}

// Keeps the reason phrase of the last status line ("HTTP/1.1 404 Not Found").
size_t readStatusLine(char *data, size_t size, size_t count, void *target) {
  const size_t length = size * count;
  if (length > 5 && std::memcmp(data, "HTTP/", 5) == 0) {
    const QByteArray line = QByteArray(data, qsizetype(length)).trimmed();
    const qsizetype codeStart = line.indexOf(' ');
    const qsizetype reasonStart = codeStart < 0 ? -1 : line.indexOf(' ', codeStart + 1);
    static_cast<HttpReply *>(target)->reason = reasonStart < 0 ? QByteArray() : line.mid(reasonStart + 1);
  }
  return size * count;
}

// Ends a transfer that moved no byte for longer than the idle limit. libcurl's own
// low-speed check averages over several seconds and so cannot hold a short limit.
struct IdleWatch {
  using Clock = std::chrono::steady_clock;
  std::chrono::milliseconds limit;
  bool connected = false;
  Clock::time_point lastMove{};
  curl_off_t received = 0;
  curl_off_t sent = 0;
  bool expired = false;
};

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

HttpReply perform(const QByteArray &url, const QList<QByteArray> &headerLines, const QByteArray *postBody,
                  const HttpTimeouts &timeouts) {
  LentHandle handle;
  CURL *curl = handle.get();
  HttpReply reply;
  char detail[CURL_ERROR_SIZE] = {};
  const CurlHeaderList headers(headerLines);

  setOption(curl, CURLOPT_URL, url.constData());
  setOption(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  setOption(curl, CURLOPT_NOSIGNAL, 1L); // called from several threads
  // HTTP/1.1 keeps the status line's reason phrase and the exact header set on the wire.
  setOption(curl, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_1));
  setOption(curl, CURLOPT_HTTPHEADER, headers.get());
  setOption(curl, CURLOPT_CONNECTTIMEOUT_MS, long(timeouts.connect.count()));
  IdleWatch watch{timeouts.idle};
  setOption(curl, CURLOPT_PREREQFUNCTION, startWatching);
  setOption(curl, CURLOPT_PREREQDATA, &watch);
  setOption(curl, CURLOPT_XFERINFOFUNCTION, checkIdle);
  setOption(curl, CURLOPT_XFERINFODATA, &watch);
  setOption(curl, CURLOPT_NOPROGRESS, 0L);
  setOption(curl, CURLOPT_ERRORBUFFER, detail);
  setOption(curl, CURLOPT_WRITEFUNCTION, appendBody);
  setOption(curl, CURLOPT_WRITEDATA, &reply);
  setOption(curl, CURLOPT_HEADERFUNCTION, readStatusLine);
  setOption(curl, CURLOPT_HEADERDATA, &reply);
  if (postBody) {
    setOption(curl, CURLOPT_POST, 1L);
    setOption(curl, CURLOPT_POSTFIELDS, postBody->constData());
    setOption(curl, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(postBody->size()));
  }

  const CURLcode rc = curl_easy_perform(curl);
  if (rc != CURLE_OK)
    throw GatewayError(failureText(rc, detail, watch, url, timeouts));

  long status = 0;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
  reply.status = int(status);
  const char *contentType = nullptr;
  curl_easy_getinfo(curl, CURLINFO_CONTENT_TYPE, &contentType);
  reply.contentType = contentType ? QByteArray(contentType) : QByteArray();
  return reply;
}

} // namespace

HttpReply httpPost(const QByteArray &url, const QList<QByteArray> &headerLines, const QByteArray &body,
                   const HttpTimeouts &timeouts) {
  return perform(url, headerLines, &body, timeouts);
}

HttpReply httpGet(const QByteArray &url, const QList<QByteArray> &headerLines, const HttpTimeouts &timeouts) {
  return perform(url, headerLines, nullptr, timeouts);
}

} // namespace gateway
