#pragma once
// The body of one call: a SOAP 1.1 envelope, document/literal wrapped, in UTF-8.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QXmlStreamWriter>

namespace gateway {

// Parameters are written in the order they are added, unprefixed and so in the service
// namespace, without type attributes.
class SoapRequest {
public:
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
  void writeText(const QString &value);

  QString namespace_;
  QString operation_;
  QString body_; // written as text and encoded once: far cheaper than many small device writes
  QXmlStreamWriter writer_{&body_};
};

} // namespace gateway
