#pragma once
// Splits the system's text files into lines. Files written on Windows end lines with CR LF,
// others with a lone LF or a lone CR; all three are accepted, also mixed in one file.
#include <QByteArrayView>
#include <QList>

namespace text_lines {

struct RawLine {
  QByteArrayView text; // without the line end
  QByteArrayView end;  // "\r\n", "\n", "\r", or empty for a last line without one
};

// Every line of bytes in order; a final line end does not start another (empty) line.
QList<RawLine> split(QByteArrayView bytes);

} // namespace text_lines
