#pragma once
// Every text the system keeps outside memory (database, language and CSV files, the modem log)
// is in the Windows Cyrillic code page. Conversion happens only at those boundaries.
#include <QByteArray>
#include <QString>
#include <QStringView>

namespace cp1251 {

QString decode(QByteArrayView bytes);
QByteArray encode(QStringView text);
// True when every character of text has a place in cp1251.
bool canEncode(QStringView text);
// The first character cp1251 cannot hold, or -1.
qsizetype firstUnencodable(QStringView text);
// The whole character at index: both halves of a surrogate pair, so it can be shown.
QString characterAt(QStringView text, qsizetype index);
// The first character of text cp1251 cannot hold, whole; empty when there is none.
QString firstUnencodableCharacter(QStringView text);

} // namespace cp1251
