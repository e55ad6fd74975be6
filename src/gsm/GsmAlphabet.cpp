#include "gsm/GsmAlphabet.h"

#include <array>

namespace {

constexpr char16_t kEscape = 0x1B;
constexpr char16_t kNone = 0xFFFF;

// Unicode of each default alphabet position; the escape position has no character.
constexpr std::array<char16_t, 128> kDefault = {
    u'@', u'£', u'$', u'¥', u'è', u'é', u'ù', u'ì',  u'ò', u'Ç', u'\n', u'Ø',  u'ø', u'\r', u'Å', u'å',
    u'Δ', u'_', u'Φ', u'Γ', u'Λ', u'Ω', u'Π', u'Ψ',  u'Σ', u'Θ', u'Ξ',  kNone, u'Æ', u'æ',  u'ß', u'É',
    u' ', u'!', u'"', u'#', u'¤', u'%', u'&', u'\'', u'(', u')', u'*',  u'+',  u',', u'-',  u'.', u'/',
    u'0', u'1', u'2', u'3', u'4', u'5', u'6', u'7',  u'8', u'9', u':',  u';',  u'<', u'=',  u'>', u'?',
    u'¡', u'A', u'B', u'C', u'D', u'E', u'F', u'G',  u'H', u'I', u'J',  u'K',  u'L', u'M',  u'N', u'O',
    u'P', u'Q', u'R', u'S', u'T', u'U', u'V', u'W',  u'X', u'Y', u'Z',  u'Ä',  u'Ö', u'Ñ',  u'Ü', u'§',
    u'¿', u'a', u'b', u'c', u'd', u'e', u'f', u'g',  u'h', u'i', u'j',  u'k',  u'l', u'm',  u'n', u'o',
    u'p', u'q', u'r', u's', u't', u'u', u'v', u'w',  u'x', u'y', u'z',  u'ä',  u'ö', u'ñ',  u'ü', u'à',
};

struct Extension {
  char16_t character;
  char code;
};
constexpr std::array<Extension, 10> kExtension = {{
    {u'\f', 0x0A},
    {u'^', 0x14},
    {u'{', 0x28},
    {u'}', 0x29},
    {u'\\', 0x2F},
    {u'[', 0x3C},
    {u'~', 0x3D},
    {u']', 0x3E},
    {u'|', 0x40},
    {u'€', 0x65},
}};

// Characters without a septet of their own that go out as their nearest neighbour, so that
// a Latin text holding one is not sent in UCS-2 with twice the parts.
struct Substitute {
  char16_t character;
  char16_t sentAs;
};
constexpr std::array<Substitute, 2> kSubstitute = {{
    {u'\t', u' '},
    {u'`', u'\''},
}};

QChar substituted(QChar c) {
  for (const Substitute &s : kSubstitute)
    if (s.character == c.unicode())
      return QChar(s.sentAs);
  return c;
}

int defaultCode(QChar c) {
  c = substituted(c);
  for (int i = 0; i < int(kDefault.size()); ++i)
    if (kDefault[size_t(i)] == c.unicode())
      return i;
  return -1;
}

int extensionCode(QChar c) {
  for (const Extension &e : kExtension)
    if (e.character == c.unicode())
      return e.code;
  return -1;
}

} // namespace

namespace gsm_alphabet {

int septetCount(QChar c) {
  if (defaultCode(c) >= 0)
    return 1;
  return extensionCode(c) >= 0 ? 2 : 0;
}

bool isGsmText(QStringView text) {
  for (QChar c : text)
    if (septetCount(c) == 0)
      return false;
  return true;
}

QByteArray toSeptets(QStringView text) {
  QByteArray out;
  out.reserve(text.size());
  for (QChar c : text) {
    if (const int code = defaultCode(c); code >= 0) {
      out.append(char(code));
    } else if (const int ext = extensionCode(c); ext >= 0) {
      out.append(char(kEscape));
      out.append(char(ext));
    } else {
      out.append('?');
    }
  }
  return out;
}

} // namespace gsm_alphabet
