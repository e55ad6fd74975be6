#pragma once
// Small owners of libcurl objects; nothing here knows about SOAP.
#include <curl/curl.h>

#include <QByteArray>
#include <QList>

namespace gateway {

// libcurl's global state, initialised once per process before the first handle exists.
void ensureCurlInitialised();

// Owns one easy handle; its open connections stay with it between transfers.
class CurlEasy {
public:
  CurlEasy();
  ~CurlEasy();
  CurlEasy(const CurlEasy &) = delete;
  CurlEasy &operator=(const CurlEasy &) = delete;

  CURL *get() const { return handle_; }

private:
  CURL *handle_;
};

// Owns a header list handed to CURLOPT_HTTPHEADER; must outlive the transfer.
class CurlHeaderList {
public:
  CurlHeaderList() = default;
  explicit CurlHeaderList(const QList<QByteArray> &lines);
  ~CurlHeaderList();
  CurlHeaderList(const CurlHeaderList &) = delete;
  CurlHeaderList &operator=(const CurlHeaderList &) = delete;

  void append(const QByteArray &line);
  curl_slist *get() const { return list_; }

private:
  curl_slist *list_ = nullptr;
};

} // namespace gateway
