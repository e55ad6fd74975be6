#include "gateway/CurlEasy.h"
#include "gateway/GatewaySettings.h"
#include "gateway/HttpExchange.h"
#include "gateway/Sms.h"
#include "gateway/SoapRequest.h"
#include "gateway/SoapResponse.h"
#include "gateway/WsdlEndpoint.h"

#include <QUrl>

#include <memory>
#include <vector>

using namespace gateway;

namespace {

const QByteArray userAgent =
    "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; MS Web Services Client Protocol 2.0.50727.42)";

// The empty "Accept:" and "Expect:" lines keep libcurl from adding headers of its own.
const QByteArray noAccept = "Accept:";
const QByteArray contentType = "Content-Type: text/xml; charset=\"utf-8\"";
const QByteArray noExpect = "Expect:";

// libcurl would add "Accept: */*"; the description is asked for like any other page.
const CurlHeaderList &descriptionHeaders() {
  thread_local const CurlHeaderList lines({userAgent, noAccept});
  return lines;
}

// The header lines of a call differ only by its SOAP action; each thread builds the lines of
// an action once and keeps the few it meets.
const CurlHeaderList &callHeaders(const QString &serviceNamespace, const SoapRequest &request) {
  struct Kept {
    QString serviceNamespace;
    QString operation;
    std::unique_ptr<CurlHeaderList> lines;
  };
  thread_local std::vector<Kept> kept;
  for (const Kept &k : kept)
    if (k.operation == request.operation() && k.serviceNamespace == serviceNamespace)
      return *k.lines;
  if (kept.size() == 8) // a namespace changed in the settings
    kept.erase(kept.begin());
  kept.push_back({serviceNamespace, request.operation(),
                  std::make_unique<CurlHeaderList>(QList<QByteArray>{
                      userAgent, noAccept, "SOAPAction: " + request.soapAction(), contentType, noExpect})});
  return *kept.back().lines;
}

// Only http and https addresses are called; anything else (a file name, a typo) is refused
// before a request is made.
QByteArray checkedUrl(const QString &address) {
  // Every message gets a new proxy for the same address; parse it once per thread.
  thread_local QString lastAddress;
  thread_local QByteArray lastEncoded;
  if (!lastEncoded.isEmpty() && address == lastAddress)
    return lastEncoded;
  const QUrl url(address, QUrl::StrictMode);
  const QString scheme = url.scheme().toLower();
  if (!url.isValid() || url.host().isEmpty() ||
      (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
    throw GatewayError(QStringLiteral("The gateway address '%1' is not an http or https URL").arg(address));
  lastAddress = address;
  lastEncoded = url.toEncoded();
  return lastEncoded;
}

} // namespace

GatewayProxy::GatewayProxy(const QString &endpointOrDescription, bool fromDescription,
                           const QString &serviceNamespace)
    : address_(endpointOrDescription), serviceNamespace_(serviceNamespace) {
  if (!fromDescription)
    endpoint_ = address_;
}

QString GatewayProxy::endpoint() {
  if (endpoint_.isEmpty()) {
    const HttpReply reply = httpGet(checkedUrl(address_), descriptionHeaders(), timeouts_);
    if (reply.status >= 300)
      throw GatewayError(statusErrorText(reply, address_));
    endpoint_ = endpointFromDescription(reply.body, address_);
  }
  return endpoint_;
}

QStringList GatewayProxy::call(SoapRequest &request) {
  const QString url = endpoint();
  const QByteArray body = request.finish();
  return readResultItems(httpPost(checkedUrl(url), callHeaders(serviceNamespace_, request), body, timeouts_),
                         url);
}

ArrayOfInt GatewayProxy::SendSMS(const QString &Login, const QString &Password, const QString &PhoneNumber,
                                 const QString &Message_) {
  SoapRequest request(serviceNamespace_, QStringLiteral("SendSMS"));
  request.addText(QStringLiteral("Login"), Login);
  request.addText(QStringLiteral("Password"), Password);
  request.addText(QStringLiteral("PhoneNumber"), PhoneNumber);
  request.addText(QStringLiteral("Message"), Message_);
  return toIntegers(call(request));
}

ArrayOfAnyType GatewayProxy::SendSeveralSMS(const QString &Login, const QString &Password,
                                            const ArrayOfArrayOfString &SmsObject) {
  SoapRequest request(serviceNamespace_, QStringLiteral("SendSeveralSMS"));
  request.addText(QStringLiteral("Login"), Login);
  request.addText(QStringLiteral("Password"), Password);
  request.addStringTable(QStringLiteral("SmsObject"), SmsObject);
  return call(request);
}

ArrayOfAnyType GatewayProxy::VerifySMSStatus(qint32 smsID) {
  SoapRequest request(serviceNamespace_, QStringLiteral("VerifySMSStatus"));
  request.addInteger(QStringLiteral("smsID"), smsID);
  return call(request);
}

std::unique_ptr<GatewayProxy> CreateGatewayProxy(bool useWSDL, const QString &address) {
  const GatewaySettings settings = readGatewaySettings();
  QString target = address;
  if (target.isEmpty())
    target = useWSDL ? descriptionUrlOf(settings.endpointUrl) : settings.endpointUrl;
  return std::make_unique<GatewayProxy>(target, useWSDL, settings.serviceNamespace);
}
