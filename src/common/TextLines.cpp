#include "common/TextLines.h"

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

} // namespace text_lines
