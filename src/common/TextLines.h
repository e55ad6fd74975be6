#pragma once
// Splits the system's text files into lines. Files written on Windows end lines with CR LF,
// others with a lone LF or a lone CR; all three are accepted, also mixed in one file.
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace text_lines {

struct RawLine {
  QByteArrayView text; // without the line end
  QByteArrayView end;  // "\r\n", "\n", "\r", or empty for a last line without one
};

// Every line of bytes in order; a final line end does not start another (empty) line.
QList<RawLine> split(QByteArrayView bytes);

// The lines of a cp1251 file, decoded with one decoder pass for the whole file:
// element i is split(bytes)[i].text decoded.
QList<QString> decodeCp1251Lines(QByteArrayView bytes, const QList<RawLine> &lines);

} // namespace text_lines
