#include "exchange/TwfCSV.h"

#include "common/Cp1251.h"
#include "exchange/ExchangeError.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>

QString TwfCSV::decode(QByteArrayView bytes, Encoding *encoding) {
  auto report = [&](Encoding e) {
    if (encoding)
      *encoding = e;
  };
  static constexpr char bom[] = "\xEF\xBB\xBF";
  if (bytes.startsWith(QByteArrayView(bom, 3))) {
    report(Encoding::Utf8);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    return utf8.decode(bytes.sliced(3));
  }
  const bool plainAscii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; });
  if (!plainAscii) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
      report(Encoding::Utf8);
      return text;
    }
  }
  report(Encoding::Cp1251);
  return cp1251::decode(bytes);
}

void TwfCSV::ReadFile(const QString &fileName) {
  if (fileName.isEmpty())
    return;
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly))
    throw CsvReadError(QStringLiteral("%1: %2").arg(fileName, file.errorString()));
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError)
    throw CsvReadError(QStringLiteral("%1: %2").arg(fileName, file.errorString()));
  ReadBytes(bytes);
}

void TwfCSV::ReadBytes(QByteArrayView bytes) {
  Records.clear();
  firstLines_.clear();
  RecordCount = 0;
  FieldCount = 0;
  split(decode(bytes, &encoding_));
}

void TwfCSV::split(const QString &text) {
  const QChar separator = QLatin1Char(Separator);
  const QChar quote = u'"';
  const qsizetype n = text.size();
  const QChar *s = text.constData();
  auto isLineEnd = [&](qsizetype i) { return s[i] == u'\r' || s[i] == u'\n'; };
  // Steps over the line end at i (CR LF counts as one).
  auto skipLineEnd = [&](qsizetype i) {
    return s[i] == u'\r' && i + 1 < n && s[i + 1] == u'\n' ? i + 2 : i + 1;
  };

  bool quotesHonoured = true;
  int line = 1;
  qsizetype pos = 0;
  while (pos < n) {
    firstLines_.append(line);
    QStringList fields;
    for (;;) {
      QString field;
      if (quotesHonoured && s[pos] == quote) {
        // Find the closing mark first, so an unclosed one can be read as plain text.
        QString value;
        int breaks = 0;
        qsizetype j = pos + 1;
        bool closed = false;
        while (j < n) {
          if (s[j] == quote) {
            if (j + 1 < n && s[j + 1] == quote) {
              value.append(quote);
              j += 2;
              continue;
            }
            closed = true;
            ++j;
            break;
          }
          if (isLineEnd(j)) {
            const qsizetype next = skipLineEnd(j);
            value.append(QStringView(s + j, next - j));
            ++breaks;
            j = next;
            continue;
          }
          value.append(s[j]);
          ++j;
        }
        if (closed) {
          field = std::move(value);
          line += breaks;
          pos = j;
        } else {
          quotesHonoured = false;
        }
      }
      const qsizetype start = pos;
      while (pos < n && s[pos] != separator && !isLineEnd(pos))
        ++pos;
      field.append(QStringView(s + start, pos - start));
      fields.append(std::move(field));
      if (pos < n && s[pos] == separator) {
        ++pos;
        if (pos < n)
          continue;
        fields.append(QString()); // a separator at the very end of the file: an empty last field
      }
      break;
    }
    if (pos < n) {
      pos = skipLineEnd(pos);
      ++line;
    }
    FieldCount = qint32(fields.size());
    Records.append(std::move(fields));
  }
  RecordCount = qint32(Records.size());
}
