#include "gateway/XmlEscape.h"

#include "gateway/GatewayError.h"

#include <cstring>

namespace gateway {

namespace {

// The longest output of one UTF-16 unit: "&quot;".
constexpr qsizetype maxBytesPerUnit = 6;

[[noreturn]] void refuse(const QString &what, char32_t c, qsizetype position) {
  throw GatewayError(QStringLiteral("The %1 holds a character that cannot be sent to the gateway "
                                    "(code %2 at position %3)")
                         .arg(what)
                         .arg(quint32(c), 4, 16, QLatin1Char('0'))
                         .arg(position));
}

template <size_t N> char *put(char *p, const char (&text)[N]) {
  std::memcpy(p, text, N - 1);
  return p + N - 1;
}

// An ASCII unit, escaped or copied; null when XML cannot carry it.
char *putAscii(char *p, char16_t c, XmlEscaping escaping) {
  switch (c) {
  case u'<':
    return put(p, "&lt;");
  case u'>':
    return put(p, "&gt;");
  case u'&':
    return put(p, "&amp;");
  case u'"':
    return put(p, "&quot;");
  case u'\r':
    return put(p, "&#13;");
  case u'\n':
    if (escaping == XmlEscaping::Attribute)
      return put(p, "&#10;");
    break;
  case u'\t':
    if (escaping == XmlEscaping::Attribute)
      return put(p, "&#9;");
    break;
  default:
    if (c < 0x20)
      return nullptr;
  }
  *p = char(c);
  return p + 1;
}

} // namespace

void appendXml(QByteArray &out, QStringView value, XmlEscaping escaping, const QString &what) {
  const qsizetype start = out.size();
  out.resize(start + value.size() * maxBytesPerUnit);
  char *p = out.data() + start;
  const char16_t *unit = value.utf16();
  const char16_t *const end = unit + value.size();
  qsizetype position = 0; // in characters, a surrogate pair counting as one
  for (; unit < end; ++unit) {
    ++position;
    const char16_t c = *unit;
    if (c < 0x80) {
      p = putAscii(p, c, escaping);
      if (!p)
        refuse(what, c, position);
    } else if (c < 0x800) {
      *p++ = char(0xc0 | (c >> 6));
      *p++ = char(0x80 | (c & 0x3f));
    } else if (QChar::isSurrogate(c)) {
      if (!QChar::isHighSurrogate(c) || unit + 1 == end || !QChar::isLowSurrogate(unit[1]))
        refuse(what, c, position);
      const char32_t code = QChar::surrogateToUcs4(c, unit[1]);
      ++unit;
      *p++ = char(0xf0 | (code >> 18));
      *p++ = char(0x80 | ((code >> 12) & 0x3f));
      *p++ = char(0x80 | ((code >> 6) & 0x3f));
      *p++ = char(0x80 | (code & 0x3f));
    } else {
      if (c > 0xfffd)
        refuse(what, c, position);
      *p++ = char(0xe0 | (c >> 12));
      *p++ = char(0x80 | ((c >> 6) & 0x3f));
      *p++ = char(0x80 | (c & 0x3f));
    }
  }
  out.truncate(p - out.constData());
}

} // namespace gateway
