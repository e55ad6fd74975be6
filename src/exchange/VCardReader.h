#pragma once
// The address book: a vCard file (versions 2.1, 3.0 and 4.0), read into one entry per card in
// file order. What the import needs of a card is its first name and its mobile number.
//
// Read: folded lines (a line starting with a blank continues the one before, also in the
// middle of a UTF-8 sequence), quoted-printable values with soft line breaks, BASE64 values,
// CHARSET (any name Qt knows), grouped properties ("item1.TEL"), vCard 2.1 bare parameters
// ("TEL;CELL:"), TYPE lists in all their spellings (TYPE=CELL,VOICE; TYPE=cell;TYPE=voice;
// TYPE="cell,voice"), backslash escapes, tel: URIs, UTF-8 and UTF-16 files with a byte order
// mark. Text without a CHARSET is UTF-8, or cp1251 where it is not valid UTF-8. A card inside
// a card (AGENT) is skipped.
#include <QByteArray>
#include <QList>
#include <QString>

struct AddressEntry {
  QString firstName;   // N's given name, else FN; empty when the card has neither
  QString mobilePhone; // the preferred TEL of type CELL, else the first one; empty when none
  int line = 0;        // line of the card's BEGIN:VCARD, from 1
};

class VCardReader {
public:
  // Throws VCardError naming the line for a file that is not a well-formed vCard file: a
  // non-blank file without cards, a card without END:VCARD, END without BEGIN, a line outside
  // a card, a property line without a colon, an unknown CHARSET. An empty file has no cards.
  static QList<AddressEntry> read(const QByteArray &bytes);
  // Also throws VCardError when the file cannot be read.
  static QList<AddressEntry> readFile(const QString &path);
};
