#pragma once
// XML text written straight into UTF-8 bytes: one pass over the UTF-16 text that checks,
// escapes and encodes, instead of a general XML writer's character-by-character work.
#include <QByteArray>
#include <QString>
#include <QStringView>

namespace gateway {

enum class XmlEscaping {
  Text,      // element content: < > & " escaped, CR as &#13; (a bare CR would arrive as LF)
  Attribute, // a double-quoted attribute value: also TAB and LF as references, which
             // attribute normalisation would otherwise turn into blanks
};

// Appends value to out as escaped UTF-8. Throws GatewayError naming what (e.g. "Message")
// when value holds a character an XML document cannot carry (a control character or a
// surrogate that is not part of a pair); out is then left with part of the value.
void appendXml(QByteArray &out, QStringView value, XmlEscaping escaping, const QString &what);

} // namespace gateway
