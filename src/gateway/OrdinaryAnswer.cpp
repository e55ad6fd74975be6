#include "gateway/OrdinaryAnswer.h"

#include <array>
#include <string_view>
#include <utility>

namespace gateway {

namespace {

using Bytes = std::string_view;

constexpr Bytes envelopeNs = "http://schemas.xmlsoap.org/soap/envelope/";

struct Name {
  Bytes qualified;
  Bytes prefix; // empty without one
  Bytes local;
};

struct Element {
  Name name;
  Bytes ns; // namespace the name resolves to, empty for none
  bool empty = false;
};

// Byte classes, looked up once per byte: the reader's whole cost is its per-byte work.
enum ByteClass : unsigned char { nameStart = 1, nameChar = 2, valueChar = 4 };

constexpr std::array<unsigned char, 256> byteClasses = [] {
  std::array<unsigned char, 256> classes{};
  for (int c = 0x20; c < 0x7f; ++c)
    classes[c] = c == '<' || c == '&' ? 0 : valueChar; // printable ASCII without markup
  for (int c = 'a'; c <= 'z'; ++c)
    classes[c] |= nameStart | nameChar;
  for (int c = 'A'; c <= 'Z'; ++c)
    classes[c] |= nameStart | nameChar;
  for (int c = '0'; c <= '9'; ++c)
    classes[c] |= nameChar;
  classes['_'] |= nameStart | nameChar;
  classes['-'] |= nameChar;
  classes['.'] |= nameChar;
  return classes;
}();

bool is(char c, ByteClass byteClass) {
  return byteClasses[static_cast<unsigned char>(c)] & byteClass;
}

bool equalsIgnoringCase(Bytes a, Bytes b) {
  if (a.size() != b.size())
    return false;
  for (size_t i = 0; i < a.size(); ++i)
    if ((a[i] | 0x20) != (b[i] | 0x20)) // ASCII letters only: names here are ASCII
      return false;
  return true;
}

// Names beginning with "xml" are reserved; the general reader gives some of them meanings.
bool isReserved(Bytes name) {
  return name.size() >= 3 && equalsIgnoringCase(name.substr(0, 3), "xml");
}

int digitValue(char c) {
  const char lower = char(c | 0x20);
  if (c >= '0' && c <= '9')
    return c - '0';
  return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

bool isResultName(Bytes local) {
  return equalsIgnoringCase(local, "Result") || equalsIgnoringCase(local, "Return");
}

// C0 and C1 controls (but tab and LF) are refused, though XML allows some: any doubt goes to
// the general reader. CR is refused because the general reader turns line ends into LF.
bool isPlainChar(char32_t c) {
  return c == '\t' || c == '\n' || (c >= 0x20 && c < 0x7f) || (c >= 0xa0 && c <= 0xd7ff) ||
         (c >= 0xe000 && c <= 0xfffd) || (c >= 0x10000 && c <= 0x10ffff);
}

// Length of the well-formed UTF-8 sequence at p if it encodes a plain character, else 0.
int plainCharLength(const char *p, const char *end) {
  const auto byte = [p](int i) { return static_cast<unsigned char>(p[i]); };
  int length = 1;
  char32_t c = byte(0);
  char32_t least = 0;
  if (c >= 0xf8) {
    return 0;
  } else if (c >= 0xf0) {
    length = 4, c &= 0x07, least = 0x10000;
  } else if (c >= 0xe0) {
    length = 3, c &= 0x0f, least = 0x800;
  } else if (c >= 0xc0) {
    length = 2, c &= 0x1f, least = 0x80;
  } else if (c >= 0x80) {
    return 0;
  }
  if (end - p < length)
    return 0;
  for (int i = 1; i < length; ++i) {
    if ((byte(i) & 0xc0) != 0x80)
      return 0;
    c = (c << 6) | (byte(i) & 0x3f);
  }
  return c >= least && isPlainChar(c) ? length : 0; // overlong forms and surrogates refused
}

void appendChar(QString &text, char32_t c) {
  if (c < 0x10000) {
    text.append(QChar(char16_t(c)));
  } else {
    text.append(QChar(QChar::highSurrogate(c)));
    text.append(QChar(QChar::lowSurrogate(c)));
  }
}

// Reads the answer front to back. Every method returns false on anything it does not know,
// which sends the whole answer to the general reader.
class Scanner {
public:
  explicit Scanner(const QByteArray &body) : p_(body.constData()), end_(p_ + body.size()) {}

  bool atEnd() const { return p_ == end_; }
  bool atEndTag() const { return end_ - p_ >= 2 && p_[0] == '<' && p_[1] == '/'; }

  bool skipSpace() {
    const char *p = p_;
    while (p < end_ && (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r'))
      ++p;
    const bool skipped = p > p_;
    p_ = p;
    return skipped;
  }

  // No declaration, or version 1.0 with UTF-8 or no encoding named.
  bool declaration() {
    if (!Bytes(p_, size_t(end_ - p_)).starts_with("<?xml"))
      return true;
    p_ += 5;
    Name name;
    Bytes value;
    if (!skipSpace() || !readName(name) || name.qualified != "version" || !attributeValue(value) ||
        value != "1.0")
      return false;
    if (skipSpace() && p_ < end_ && *p_ != '?') {
      if (!readName(name) || name.qualified != "encoding" || !attributeValue(value) ||
          !equalsIgnoringCase(value, "utf-8"))
        return false;
      skipSpace();
    }
    return consume("?>");
  }

  // A start tag; the namespaces it declares stay in scope until close().
  bool open(Element &element) {
    if (!consume("<") || !readName(element.name))
      return false;
    ++depth_;
    std::array<Name, 8> attributes;
    size_t count = 0;
    for (;;) {
      const bool spaced = skipSpace();
      if (consume(">"))
        break;
      if (consume("/>")) {
        element.empty = true;
        break;
      }
      Name name;
      Bytes value;
      if (!spaced || count == attributes.size() || !readName(name) || !attributeValue(value))
        return false;
      for (size_t i = 0; i < count; ++i)
        if (attributes[i].qualified == name.qualified || attributes[i].local == name.local)
          return false;
      attributes[count++] = name;
      if (name.qualified == "xmlns" || name.prefix == "xmlns") {
        if (!bind(name.prefix.empty() ? Bytes() : name.local, value))
          return false;
      }
    }
    for (size_t i = 0; i < count; ++i) { // other attributes are skipped, their prefixes known
      const Name &a = attributes[i];
      const bool declaration = a.qualified == "xmlns" || a.prefix == "xmlns";
      if (!declaration && (isReserved(a.qualified) || (!a.prefix.empty() && !resolve(a.prefix, nullptr))))
        return false;
    }
    return !isReserved(element.name.prefix) && resolve(element.name.prefix, &element.ns);
  }

  // The end tag of an element (nothing for an empty one); its namespaces leave scope.
  bool close(const Element &element) {
    if (!element.empty) {
      if (!consume("</") || !consume(element.name.qualified))
        return false;
      skipSpace();
      if (!consume(">"))
        return false;
    }
    while (bindingCount_ > 0 && bindings_[bindingCount_ - 1].depth == depth_)
      --bindingCount_;
    --depth_;
    return true;
  }

  // Character data up to the next tag, kept in text unless it is null.
  bool readText(QString *text) {
    const char *p = p_;
    const char *run = p; // bytes taken as they are, since the last reference
    const auto flush = [&] {
      if (text && p > run)
        text->append(QString::fromUtf8(run, p - run));
    };
    while (p < end_ && *p != '<') {
      const auto byte = static_cast<unsigned char>(*p);
      if (byte >= 0x20 && byte < 0x7f && byte != '&' && byte != ']') {
        ++p; // the usual case, printable ASCII
      } else if (byte == '&') {
        flush();
        p_ = p;
        char32_t c = 0;
        if (!reference(c))
          return false;
        if (text)
          appendChar(*text, c);
        p = run = p_;
      } else if (byte == ']') {
        if (Bytes(p, size_t(end_ - p)).starts_with("]]>"))
          return false; // not allowed in character data
        ++p;
      } else if (byte == '\r' && !text) {
        ++p; // a line end between elements
      } else {
        const int length = plainCharLength(p, end_);
        if (length == 0)
          return false;
        p += length;
      }
    }
    flush();
    p_ = p;
    return true;
  }

private:
  struct Binding {
    Bytes prefix; // empty for the default namespace
    Bytes ns;
    int depth;
  };

  bool consume(Bytes expected) {
    if (!Bytes(p_, size_t(end_ - p_)).starts_with(expected))
      return false;
    p_ += expected.size();
    return true;
  }

  bool readName(Name &name) {
    const char *start = p_;
    const char *colon = nullptr;
    if (start == end_ || !is(*start, nameStart))
      return false;
    const char *p = start + 1;
    for (; p < end_ && (is(*p, nameChar) || *p == ':'); ++p) {
      if (*p == ':' && colon)
        return false;
      if (*p == ':')
        colon = p;
    }
    p_ = p;
    name.qualified = Bytes(start, size_t(p - start));
    if (!colon) {
      name.prefix = {};
      name.local = name.qualified;
      return true;
    }
    name.prefix = Bytes(start, size_t(colon - start));
    name.local = Bytes(colon + 1, size_t(p - colon - 1));
    return !name.local.empty() && is(name.local.front(), nameStart);
  }

  // = and a quoted value of printable ASCII without references or markup.
  bool attributeValue(Bytes &value) {
    skipSpace();
    if (!consume("="))
      return false;
    skipSpace();
    if (p_ == end_ || (*p_ != '"' && *p_ != '\''))
      return false;
    const char quote = *p_++;
    const char *p = p_;
    while (p < end_ && *p != quote && is(*p, valueChar))
      ++p;
    if (p == end_ || *p != quote)
      return false;
    value = Bytes(p_, size_t(p - p_));
    p_ = p + 1;
    return true;
  }

  bool bind(Bytes prefix, Bytes ns) {
    if (ns.empty() || isReserved(prefix) || bindingCount_ == bindings_.size())
      return false; // undeclaring and the reserved prefixes are left to the general reader
    bindings_[bindingCount_++] = {prefix, ns, depth_};
    return true;
  }

  // False for an undeclared prefix; no prefix and no default namespace is no namespace.
  bool resolve(Bytes prefix, Bytes *ns) const {
    for (size_t i = bindingCount_; i-- > 0;)
      if (bindings_[i].prefix == prefix) {
        if (ns)
          *ns = bindings_[i].ns;
        return true;
      }
    if (ns)
      *ns = {};
    return prefix.empty();
  }

  // One of the five predefined entities or a character reference, at '&'.
  bool reference(char32_t &c) {
    static constexpr std::array<std::pair<Bytes, char>, 5> entities{
        {{"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}, {"&quot;", '"'}, {"&apos;", '\''}}};
    for (const auto &[entity, character] : entities)
      if (consume(entity)) {
        c = char32_t(character);
        return true;
      }
    if (!consume("&#"))
      return false;
    const int base = consume("x") ? 16 : 10;
    c = 0;
    int digits = 0;
    for (; p_ < end_ && *p_ != ';'; ++p_, ++digits) {
      const int digit = digitValue(*p_);
      if (digit < 0 || digit >= base || digits == 6)
        return false;
      c = c * base + char32_t(digit);
    }
    return digits > 0 && consume(";") && isPlainChar(c);
  }

  const char *p_;
  const char *end_;
  int depth_ = 0;
  std::array<Binding, 16> bindings_;
  size_t bindingCount_ = 0;
};

// The item texts of the current element, kept in items unless it is null.
bool readItems(Scanner &in, QStringList *items) {
  for (;;) {
    if (!in.readText(nullptr)) // text beside the items is ignored
      return false;
    if (in.atEndTag())
      return true;
    Element item;
    QString text;
    if (!in.open(item) || (!item.empty && !in.readText(items ? &text : nullptr)) || !in.close(item))
      return false; // an item holding elements is left to the general reader
    if (items)
      items->append(text);
  }
}

// The response element's only child holds the items; among several, the first named Result or
// Return. Several without such a name are an error, which the general reader words.
std::optional<QStringList> readWrapper(Scanner &in) {
  QStringList first;
  QStringList named;
  int children = 0;
  int namedIndex = -1;
  for (;;) {
    if (!in.readText(nullptr))
      return std::nullopt;
    if (in.atEndTag())
      break;
    Element child;
    if (!in.open(child))
      return std::nullopt;
    const bool isNamed = namedIndex < 0 && isResultName(child.name.local);
    if (isNamed)
      namedIndex = children;
    QStringList *kept = children == 0 ? &first : isNamed ? &named : nullptr;
    if (kept)
      kept->reserve(4); // the usual lists hold three or four items
    if ((!child.empty && !readItems(in, kept)) || !in.close(child))
      return std::nullopt;
    ++children;
  }
  if (children <= 1 || namedIndex == 0)
    return first;
  if (namedIndex < 0)
    return std::nullopt;
  return named;
}

bool isEnvelopeElement(const Element &element, Bytes local) {
  return element.ns == envelopeNs && element.name.local == local;
}

} // namespace

std::optional<QStringList> readOrdinaryAnswer(const QByteArray &body) {
  Scanner in(body);
  Element envelope;
  Element soapBody;
  Element wrapper;
  if (!in.declaration())
    return std::nullopt;
  in.skipSpace();
  if (!in.open(envelope) || envelope.empty || !isEnvelopeElement(envelope, "Envelope") ||
      !in.readText(nullptr) || !in.open(soapBody) || soapBody.empty || !isEnvelopeElement(soapBody, "Body") ||
      !in.readText(nullptr) || !in.open(wrapper) || wrapper.ns == envelopeNs)
    return std::nullopt; // also a fault, and anything in the envelope before its Body
  std::optional<QStringList> items = QStringList();
  if (!wrapper.empty)
    items = readWrapper(in);
  if (!items || !in.close(wrapper) || !in.readText(nullptr) || !in.close(soapBody) || !in.readText(nullptr) ||
      !in.close(envelope))
    return std::nullopt; // also anything after the response element or after the Body
  in.skipSpace();
  if (!in.atEnd())
    return std::nullopt;
  return items;
}

} // namespace gateway
