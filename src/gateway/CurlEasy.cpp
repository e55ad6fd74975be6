#include "gateway/CurlEasy.h"

#include "gateway/GatewayError.h"

#include <mutex>

namespace gateway {

void ensureCurlInitialised() {
  static std::once_flag once;
  std::call_once(once, [] {
    const CURLcode rc = curl_global_init(CURL_GLOBAL_ALL);
    if (rc != CURLE_OK)
      throw GatewayError(QStringLiteral("The HTTP library could not be initialised: %1")
                             .arg(QString::fromUtf8(curl_easy_strerror(rc))));
  });
}

// Runs the initialisation when the program starts, before any worker thread exists.
namespace {
const bool initialisedAtStart = [] {
  try {
    ensureCurlInitialised();
  } catch (const GatewayError &) {
    // Reported again by the first call that needs the library.
  }
  return true;
}();
} // namespace

CurlEasy::CurlEasy() {
  ensureCurlInitialised();
  handle_ = curl_easy_init();
  if (!handle_)
    throw GatewayError(QStringLiteral("The HTTP library could not create a connection handle"));
}

CurlEasy::~CurlEasy() {
  curl_easy_cleanup(handle_);
}

CurlHeaderList::CurlHeaderList(const QList<QByteArray> &lines) {
  for (const QByteArray &line : lines)
    append(line);
}

CurlHeaderList::~CurlHeaderList() {
  curl_slist_free_all(list_);
}

void CurlHeaderList::append(const QByteArray &line) {
  curl_slist *grown = curl_slist_append(list_, line.constData());
  if (!grown)
    throw GatewayError(QStringLiteral("Out of memory while building the HTTP headers"));
  list_ = grown;
}

} // namespace gateway
