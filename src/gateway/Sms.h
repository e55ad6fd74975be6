#pragma once
// Client of the SMS gateway web service: interface SMSSoap (SOAP 1.1, document/literal).
// Every call site makes its own proxy, calls, and drops it; proxies are never shared between
// threads, and any number of threads may call at once through proxies of their own.
// Texts of the system are decoded from cp1251 by the caller and travel as UTF-8.
#include "gateway/GatewayError.h"
#include "gateway/HttpExchange.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

namespace gateway {
class SoapRequest;
}

using ArrayOfInt = QList<qint32>;
using ArrayOfString = QStringList;
using ArrayOfArrayOfString = QList<ArrayOfString>;
using ArrayOfAnyType = QStringList; // each value read as a string

// Each operation returns its result list or throws GatewayError with the text to show.
class SMSSoap {
public:
  virtual ~SMSSoap() = default;
  // Three items mean accepted: the gateway's message number, (unused), the number of parts.
  virtual ArrayOfInt SendSMS(const QString &Login, const QString &Password, const QString &PhoneNumber,
                             const QString &Message_) = 0;
  virtual ArrayOfAnyType SendSeveralSMS(const QString &Login, const QString &Password,
                                        const ArrayOfArrayOfString &SmsObject) = 0;
  // Item 1 is the delivery state; "st_deliver" means delivered.
  virtual ArrayOfAnyType VerifySMSStatus(qint32 smsID) = 0;
};

class GatewayProxy : public SMSSoap {
public:
  // endpointOrDescription is the endpoint itself, or with fromDescription the WSDL document
  // naming it (read at the first call).
  GatewayProxy(const QString &endpointOrDescription, bool fromDescription, const QString &serviceNamespace);

  ArrayOfInt SendSMS(const QString &Login, const QString &Password, const QString &PhoneNumber,
                     const QString &Message_) override;
  ArrayOfAnyType SendSeveralSMS(const QString &Login, const QString &Password,
                                const ArrayOfArrayOfString &SmsObject) override;
  ArrayOfAnyType VerifySMSStatus(qint32 smsID) override;

  // Defaults: 30 s to connect, 60 s without data.
  void setTimeouts(const gateway::HttpTimeouts &timeouts) { timeouts_ = timeouts; }
  const gateway::HttpTimeouts &timeouts() const { return timeouts_; }
  // The endpoint the calls go to (reads the description document when needed).
  QString endpoint();

private:
  QStringList call(gateway::SoapRequest &request);

  QString address_;
  QString serviceNamespace_;
  QString endpoint_; // resolved endpoint, empty until known
  gateway::HttpTimeouts timeouts_;
};

// useWSDL: address is the description document (default: the built-in endpoint + "?WSDL"),
// whose service "SMS" / port "SMSSoap" gives the endpoint; otherwise address is the endpoint
// (default: the built-in endpoint). Both defaults and the namespace come from the settings.
std::unique_ptr<GatewayProxy> CreateGatewayProxy(bool useWSDL = false, const QString &address = QString());
