#include "exchange/VCardReader.h"

#include "common/Cp1251.h"
#include "exchange/VCardError.h"

#include <QFile>
#include <QHash>
#include <QStringDecoder>

namespace {

struct Line {
  QByteArray text;
  int number = 0; // from 1
};

struct Parameter {
  QByteArray key; // upper case; empty for a vCard 2.1 bare parameter ("TEL;CELL:")
  QByteArray value;
};

struct Tel {
  QByteArray group;
  QString number;
  bool cell = false;
  bool preferred = false;
};

struct Card {
  int line = 0;
  QString givenName;
  QString formattedName;
  QList<Tel> tels;
  QList<QByteArray> mobileGroups; // groups whose X-ABLABEL names a mobile number
};

VCardError lineError(int line, const QString &what) {
  return VCardError(QStringLiteral("line %1: %2").arg(line).arg(what));
}

QList<Line> physicalLines(const QByteArray &bytes) {
  QList<Line> lines;
  qsizetype start = 0;
  int number = 1;
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c != '\r' && c != '\n')
      continue;
    lines.append({bytes.mid(start, i - start), number++});
    if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
      ++i;
    start = i + 1;
  }
  if (start < bytes.size())
    lines.append({bytes.mid(start), number});
  return lines;
}

// The colon that ends the name and parameters; a quoted parameter value may hold colons.
qsizetype valueColon(const QByteArray &line) {
  bool quoted = false;
  for (qsizetype i = 0; i < line.size(); ++i) {
    if (line[i] == '"')
      quoted = !quoted;
    else if (line[i] == ':' && !quoted)
      return i;
  }
  return -1;
}

bool isBlank(const QByteArray &line) {
  return line.trimmed().isEmpty();
}

QList<QByteArray> splitOutsideQuotes(const QByteArray &text, char separator) {
  QList<QByteArray> parts;
  QByteArray part;
  bool quoted = false;
  for (const char c : text) {
    if (c == '"')
      quoted = !quoted;
    if (c == separator && !quoted) {
      parts.append(part);
      part.clear();
    } else {
      part.append(c);
    }
  }
  parts.append(part);
  return parts;
}

QList<Parameter> parameters(const QList<QByteArray> &headParts) {
  QList<Parameter> params;
  for (qsizetype i = 1; i < headParts.size(); ++i) {
    const QByteArray &part = headParts[i];
    const qsizetype equals = part.indexOf('=');
    if (equals < 0)
      params.append({QByteArray(), part.trimmed()});
    else
      params.append({part.left(equals).trimmed().toUpper(), part.mid(equals + 1).trimmed()});
  }
  return params;
}

QByteArray unquoted(QByteArray value) {
  value = value.trimmed();
  if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
    value = value.mid(1, value.size() - 2);
  return value;
}

// TYPE values, upper case, from every spelling: TYPE=A,B; TYPE=a;TYPE=b; TYPE="a,b"; bare A;B.
QList<QByteArray> types(const QList<Parameter> &params) {
  QList<QByteArray> out;
  for (const Parameter &p : params) {
    if (!p.key.isEmpty() && p.key != "TYPE")
      continue;
    for (const QByteArray &v : unquoted(p.value).split(','))
      out.append(unquoted(v).toUpper());
  }
  return out;
}

QByteArray parameter(const QList<Parameter> &params, const QByteArray &key) {
  for (const Parameter &p : params)
    if (p.key == key)
      return unquoted(p.value);
  return {};
}

QByteArray encodingOf(const QList<Parameter> &params) {
  const QByteArray named = parameter(params, "ENCODING").toUpper();
  if (!named.isEmpty())
    return named;
  for (const Parameter &p : params) {
    const QByteArray bare = p.value.toUpper();
    if (p.key.isEmpty() && (bare == "QUOTED-PRINTABLE" || bare == "BASE64"))
      return bare;
  }
  return {};
}

bool headSays(const QByteArray &head, const char *word) {
  return head.toUpper().contains(word);
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  return -1;
}

// "=XX" becomes the byte XX; anything else after "=" stays as it is written.
QByteArray quotedPrintableDecoded(const QByteArray &text) {
  QByteArray out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == '=' && i + 2 < text.size() && hexDigit(text[i + 1]) >= 0 && hexDigit(text[i + 2]) >= 0) {
      out.append(char(hexDigit(text[i + 1]) * 16 + hexDigit(text[i + 2])));
      i += 2;
    } else if (text[i] == '=' && i + 1 == text.size()) {
      // a soft line break left at the very end
    } else {
      out.append(text[i]);
    }
  }
  return out;
}

QString utf8OrCp1251(const QByteArray &bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString text = utf8.decode(bytes);
  return utf8.hasError() ? cp1251::decode(bytes) : text;
}

// Splits at the semicolons that no backslash escapes.
QStringList components(const QString &value) {
  QStringList parts;
  QString part;
  for (qsizetype i = 0; i < value.size(); ++i) {
    if (value[i] == u'\\' && i + 1 < value.size()) {
      part.append(value[i]).append(value[i + 1]);
      ++i;
    } else if (value[i] == u';') {
      parts.append(part);
      part.clear();
    } else {
      part.append(value[i]);
    }
  }
  parts.append(part);
  return parts;
}

QString unescaped(const QString &value) {
  QString out;
  out.reserve(value.size());
  for (qsizetype i = 0; i < value.size(); ++i) {
    if (value[i] != u'\\' || i + 1 == value.size()) {
      out.append(value[i]);
      continue;
    }
    const QChar next = value[++i];
    out.append(next == u'n' || next == u'N' ? QChar(u'\n') : next);
  }
  return out;
}

class Reader {
public:
  explicit Reader(const QByteArray &bytes) { prepare(bytes); }

  QList<AddressEntry> entries() {
    for (const Line &line : logicalLines())
      take(line);
    if (depth_ > 0)
      throw lineError(card_.line, QStringLiteral("the card that begins here has no END:VCARD"));
    return entries_;
  }

private:
  // A UTF-16 file is turned into UTF-8 first; a UTF-8 byte order mark is dropped.
  void prepare(const QByteArray &bytes) {
    const bool le = bytes.startsWith("\xFF\xFE") || (bytes.size() >= 2 && bytes[0] != 0 && bytes[1] == 0);
    const bool be = bytes.startsWith("\xFE\xFF") || (bytes.size() >= 2 && bytes[0] == 0 && bytes[1] != 0);
    if (le || be) {
      QStringDecoder utf16(le ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
      QString text = utf16.decode(bytes);
      if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
      bytes_ = text.toUtf8();
      unicodeFile_ = true;
    } else {
      bytes_ = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    }
  }

  // Joins folded lines and quoted-printable soft line breaks. Unindented BASE64 lines of a
  // vCard 2.1 value (they have no colon and end at a blank line) are dropped.
  QList<Line> logicalLines() const {
    const QList<Line> lines = physicalLines(bytes_);
    QList<Line> out;
    bool inBase64 = false;
    for (qsizetype i = 0; i < lines.size();) {
      const Line &line = lines[i++];
      if (isBlank(line.text)) {
        inBase64 = false;
        out.append({QByteArray(), line.number});
        continue;
      }
      const char first = line.text[0];
      if ((first == ' ' || first == '\t') && !out.isEmpty() && !out.last().text.isEmpty()) {
        out.last().text += line.text.mid(1);
        continue;
      }
      if (inBase64 && valueColon(line.text) < 0)
        continue;
      Line logical = line;
      const qsizetype colon = valueColon(logical.text);
      const QByteArray head = colon >= 0 ? logical.text.left(colon) : QByteArray();
      inBase64 = headSays(head, "BASE64") || headSays(head, "ENCODING=B");
      if (headSays(head, "QUOTED-PRINTABLE"))
        while (logical.text.endsWith('=') && i < lines.size()) {
          logical.text.chop(1);
          logical.text += lines[i++].text;
        }
      out.append(logical);
    }
    return out;
  }

  QString text(const QByteArray &value, const QList<Parameter> &params, int line) const {
    const QByteArray encoding = encodingOf(params);
    QByteArray raw = value;
    bool encoded = true;
    if (encoding == "QUOTED-PRINTABLE")
      raw = quotedPrintableDecoded(value);
    else if (encoding == "B" || encoding == "BASE64")
      raw = QByteArray::fromBase64(value);
    else
      encoded = false;
    if (unicodeFile_ && !encoded)
      return QString::fromUtf8(raw);
    const QByteArray charset = parameter(params, "CHARSET");
    if (charset.isEmpty())
      return utf8OrCp1251(raw);
    QStringDecoder decoder(charset.constData());
    if (!decoder.isValid())
      throw lineError(
          line, QStringLiteral("the character set \"%1\" is not known").arg(QString::fromLatin1(charset)));
    return decoder.decode(raw);
  }

  void take(const Line &line) {
    if (line.text.isEmpty())
      return;
    const qsizetype colon = valueColon(line.text);
    if (colon < 0) {
      if (depth_ == 0)
        throw outside(line);
      throw lineError(line.number, QStringLiteral("\"%1\" is not a vCard property (it has no colon)")
                                       .arg(QString::fromUtf8(line.text.left(40))));
    }
    const QList<QByteArray> head = splitOutsideQuotes(line.text.left(colon), ';');
    const QByteArray qualified = head.first().trimmed().toUpper();
    const qsizetype dot = qualified.lastIndexOf('.');
    const QByteArray group = dot >= 0 ? qualified.left(dot) : QByteArray();
    const QByteArray name = qualified.mid(dot + 1);
    const QByteArray value = line.text.mid(colon + 1);

    if (name == "BEGIN" && value.trimmed().toUpper() == "VCARD") {
      if (depth_++ == 0)
        card_ = Card{line.number, {}, {}, {}, {}};
      return;
    }
    if (name == "END" && value.trimmed().toUpper() == "VCARD") {
      if (depth_ == 0)
        throw lineError(line.number, QStringLiteral("END:VCARD without BEGIN:VCARD"));
      if (--depth_ == 0)
        finishCard();
      return;
    }
    if (depth_ == 0)
      throw outside(line);
    if (depth_ > 1)
      return; // a card inside the card (AGENT)

    const QList<Parameter> params = parameters(head);
    if (name == "N") {
      const QStringList parts = components(text(value, params, line.number));
      card_.givenName = parts.size() > 1 ? unescaped(parts[1]).trimmed() : QString();
    } else if (name == "FN") {
      card_.formattedName = unescaped(text(value, params, line.number)).trimmed();
    } else if (name == "TEL") {
      const QList<QByteArray> kinds = types(params);
      QString number = unescaped(text(value, params, line.number)).trimmed();
      if (number.startsWith(QStringLiteral("tel:"), Qt::CaseInsensitive)) {
        number = number.mid(4);
        number = number.left(number.indexOf(u';')).trimmed();
      }
      const bool preferred = kinds.contains("PREF") || !parameter(params, "PREF").isEmpty();
      card_.tels.append({group, number, kinds.contains("CELL"), preferred});
    } else if (name == "X-ABLABEL" && !group.isEmpty()) {
      const QString label = text(value, params, line.number);
      if (label.contains(QStringLiteral("mobile"), Qt::CaseInsensitive) ||
          label.contains(QStringLiteral("cell"), Qt::CaseInsensitive))
        card_.mobileGroups.append(group);
    }
  }

  VCardError outside(const Line &line) const {
    if (!seenCard_)
      return lineError(line.number, QStringLiteral("the file is not a vCard address book (it does not begin "
                                                   "with BEGIN:VCARD)"));
    return lineError(
        line.number,
        QStringLiteral("\"%1\" stands outside any card").arg(QString::fromUtf8(line.text.left(40))));
  }

  void finishCard() {
    seenCard_ = true;
    AddressEntry entry;
    entry.line = card_.line;
    entry.firstName = card_.givenName.isEmpty() ? card_.formattedName : card_.givenName;
    const Tel *chosen = nullptr;
    for (const Tel &tel : card_.tels) {
      const bool cell = tel.cell || (!tel.group.isEmpty() && card_.mobileGroups.contains(tel.group));
      if (!cell)
        continue;
      if (!chosen || (tel.preferred && !chosen->preferred))
        chosen = &tel;
    }
    if (chosen)
      entry.mobilePhone = chosen->number;
    entries_.append(entry);
  }

  QByteArray bytes_;
  bool unicodeFile_ = false;
  int depth_ = 0;
  bool seenCard_ = false;
  Card card_;
  QList<AddressEntry> entries_;
};

} // namespace

QList<AddressEntry> VCardReader::read(const QByteArray &bytes) {
  return Reader(bytes).entries();
}

QList<AddressEntry> VCardReader::readFile(const QString &path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    throw VCardError(
        QStringLiteral("The address book \"%1\" cannot be read: %2").arg(path, file.errorString()));
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError)
    throw VCardError(
        QStringLiteral("The address book \"%1\" cannot be read: %2").arg(path, file.errorString()));
  try {
    return read(bytes);
  } catch (const VCardError &e) {
    throw VCardError(QStringLiteral("The address book \"%1\" cannot be imported, %2").arg(path, e.text()));
  }
}
