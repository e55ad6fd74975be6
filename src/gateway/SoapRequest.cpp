#include "gateway/SoapRequest.h"

#include "gateway/XmlEscape.h"

namespace gateway {

namespace {

// Everything before the operation's name, the same for every call.
constexpr char head[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                        "<SOAP-ENV:Envelope xmlns:SOAP-ENV=\"http://schemas.xmlsoap.org/soap/envelope/\" "
                        "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
                        "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><SOAP-ENV:Body><";
constexpr char tail[] = "></SOAP-ENV:Body></SOAP-ENV:Envelope>\n";

// Element names are the contract's own ASCII names.
void appendName(QByteArray &out, const QString &name) {
  const qsizetype start = out.size();
  out.resize(start + name.size());
  char *p = out.data() + start;
  for (const QChar c : name)
    *p++ = char(c.unicode());
}

} // namespace

SoapRequest::SoapRequest(const QString &serviceNamespace, const QString &operation)
    : namespace_(serviceNamespace), operation_(operation) {
  // Room for a usual call's parameters, so the body is allocated once.
  body_.reserve(qsizetype(sizeof head) + 2 * operation.size() + serviceNamespace.size() + 1024);
  body_.append(head, qsizetype(sizeof head) - 1);
  appendName(body_, operation);
  body_.append(" xmlns=\"");
  appendXml(body_, serviceNamespace, XmlEscaping::Attribute, QStringLiteral("service namespace"));
  body_.append("\">");
}

void SoapRequest::open(const QString &name) {
  body_.append('<');
  appendName(body_, name);
  body_.append('>');
}

void SoapRequest::close(const QString &name) {
  body_.append("</");
  appendName(body_, name);
  body_.append('>');
}

void SoapRequest::addTextElement(const QString &name, const QString &value, const QString &what) {
  if (value.isEmpty()) {
    body_.append('<');
    appendName(body_, name);
    body_.append("/>");
    return;
  }
  open(name);
  appendXml(body_, value, XmlEscaping::Text, what);
  close(name);
}

void SoapRequest::addText(const QString &name, const QString &value) {
  addTextElement(name, value, name);
}

void SoapRequest::addInteger(const QString &name, qint32 value) {
  open(name);
  body_.append(QByteArray::number(value));
  close(name);
}

void SoapRequest::addStringTable(const QString &name, const QList<QStringList> &rows) {
  if (rows.isEmpty()) {
    addTextElement(name, QString(), name);
    return;
  }
  const QString row = QStringLiteral("ArrayOfString");
  const QString cell = QStringLiteral("string");
  open(name);
  for (const QStringList &cells : rows) {
    if (cells.isEmpty()) {
      addTextElement(row, QString(), name);
      continue;
    }
    open(row);
    for (const QString &value : cells)
      addTextElement(cell, value, name);
    close(row);
  }
  close(name);
}

QByteArray SoapRequest::soapAction() const {
  return '"' + (namespace_ + QLatin1Char('/') + operation_).toUtf8() + '"';
}

QByteArray SoapRequest::finish() {
  body_.append("</");
  appendName(body_, operation_);
  body_.append(tail, qsizetype(sizeof tail) - 1);
  return std::move(body_);
}

} // namespace gateway
