#pragma once
// The body of one call: a SOAP 1.1 envelope, document/literal wrapped, in UTF-8, written
// straight into bytes.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace gateway {

// Parameters are written in the order they are added, unprefixed and so in the service
// namespace, without type attributes. An empty value is written as an empty element
// ("<Login/>").
class SoapRequest {
public:
  // Throws GatewayError when the namespace holds a character an XML document cannot carry.
  SoapRequest(const QString &serviceNamespace, const QString &operation);
  SoapRequest(const SoapRequest &) = delete;
  SoapRequest &operator=(const SoapRequest &) = delete;

  // Throws GatewayError when value holds a character an XML document cannot carry.
  void addText(const QString &name, const QString &value);
  void addInteger(const QString &name, qint32 value);
  // A list of string lists: <name><ArrayOfString><string>..</string></ArrayOfString>..</name>
  void addStringTable(const QString &name, const QList<QStringList> &rows);

  const QString &operation() const { return operation_; }
  // The SOAPAction header value, quotes included.
  QByteArray soapAction() const;
  // Closes the envelope; call once, after the last parameter.
  QByteArray finish();

private:
  void open(const QString &name);
  void close(const QString &name);
  void addTextElement(const QString &name, const QString &value, const QString &what);

  QString namespace_;
  QString operation_;
  QByteArray body_;
};

} // namespace gateway
