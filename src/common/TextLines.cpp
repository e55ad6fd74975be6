#include "common/TextLines.h"

#include "common/Cp1251.h"

namespace text_lines {

QList<RawLine> split(QByteArrayView bytes) {
  QList<RawLine> lines;
  qsizetype start = 0;
  const qsizetype size = bytes.size();
  for (qsizetype i = 0; i < size; ++i) {
    const char c = bytes[i];
    if (c != '\r' && c != '\n')
      continue;
    const qsizetype endLength = (c == '\r' && i + 1 < size && bytes[i + 1] == '\n') ? 2 : 1;
    lines.append({bytes.sliced(start, i - start), bytes.sliced(i, endLength)});
    i += endLength - 1;
    start = i + 1;
  }
  if (start < size)
    lines.append({bytes.sliced(start), QByteArrayView()});
  return lines;
}

QList<QString> decodeCp1251Lines(QByteArrayView bytes, const QList<RawLine> &lines) {
  const QString text = cp1251::decode(bytes);
  // Every cp1251 byte is one character, so a line's byte offsets are its character offsets.
  const bool aligned = text.size() == bytes.size();
  QList<QString> decoded;
  decoded.reserve(lines.size());
  for (const RawLine &line : lines)
    decoded.append(aligned ? text.mid(line.text.data() - bytes.data(), line.text.size())
                           : cp1251::decode(line.text));
  return decoded;
}

} // namespace text_lines
