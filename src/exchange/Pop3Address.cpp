#include "exchange/Pop3Address.h"

#include "exchange/MailError.h"

namespace mail {

namespace {
QString invalid(const QString &text, const QString &why) {
  return QStringLiteral("The mail server address \"%1\" is not valid: %2.").arg(text, why);
}

// Letters, digits and the few signs of host names and IP addresses; nothing that would change
// the meaning of the URL handed to the mail library.
bool isHostChar(QChar c) {
  return c.isLetterOrNumber() || c == u'.' || c == u'-' || c == u'_' || c == u':';
}
} // namespace

Pop3Address Pop3Address::parse(const QString &text) {
  const QString trimmed = text.trimmed();
  Pop3Address address;
  QString portText;
  if (trimmed.startsWith(u'[')) {
    const qsizetype close = trimmed.indexOf(u']');
    if (close < 0)
      throw MailError(invalid(text, QStringLiteral("the closing bracket is missing")));
    address.host = trimmed.mid(1, close - 1);
    const QString rest = trimmed.mid(close + 1);
    if (!rest.isEmpty()) {
      if (!rest.startsWith(u':'))
        throw MailError(invalid(text, QStringLiteral("only \":port\" may follow the brackets")));
      portText = rest.mid(1);
    }
  } else {
    const qsizetype colon = trimmed.indexOf(u':');
    if (colon >= 0 && trimmed.indexOf(u':', colon + 1) >= 0)
      throw MailError(invalid(text, QStringLiteral("write an IPv6 address in brackets")));
    address.host = colon >= 0 ? trimmed.left(colon) : trimmed;
    if (colon >= 0)
      portText = trimmed.mid(colon + 1);
  }
  if (address.host.isEmpty())
    throw MailError(invalid(text, QStringLiteral("the host name is missing")));
  for (QChar c : address.host)
    if (!isHostChar(c) || (c == u':' && !trimmed.startsWith(u'[')))
      throw MailError(invalid(text, QStringLiteral("the host name holds the character \"%1\"").arg(c)));
  if (!portText.isNull()) {
    bool ok = false;
    const uint port = portText.toUInt(&ok);
    if (!ok || port < 1 || port > 65535 || portText.startsWith(u'+'))
      throw MailError(invalid(text, QStringLiteral("the port must be a number from 1 to 65535")));
    address.port = quint16(port);
  }
  return address;
}

QByteArray Pop3Address::url(const QByteArray &path) const {
  const QByteArray host = this->host.contains(u':') ? '[' + this->host.toUtf8() + ']' : this->host.toUtf8();
  return "pop3://" + host + ':' + QByteArray::number(port) + '/' + path;
}

} // namespace mail
