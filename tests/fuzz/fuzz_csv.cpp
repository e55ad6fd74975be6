// The CSV reader on any bytes, with the separator chosen by the first byte: every line has
// at least one field, the counts agree with the records, the file lines of the records rise,
// and an unquoted file keeps every character but the separators and line ends.
#include "FuzzCheck.h"

#include "exchange/TwfCSV.h"

#include <array>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static constexpr std::array<char, 4> separators{',', ';', '\t', '|'};
  TwfCSV csv;
  csv.Separator = separators[size > 0 ? data[0] % 4 : 0];
  const QByteArray bytes = size > 0 ? fuzz::bytes(data + 1, size - 1) : QByteArray();
  csv.ReadBytes(bytes);
  FUZZ_CHECK(csv.RecordCount == csv.Records.size(), QString());
  FUZZ_CHECK(csv.Records.isEmpty() || csv.FieldCount == csv.Records.last().size(), QString());
  qsizetype characters = 0;
  for (int i = 0; i < csv.Records.size(); ++i) {
    FUZZ_CHECK(!csv.Records[i].isEmpty(), QString::number(i));
    FUZZ_CHECK(csv.fileLine(i) >= 1 && (i == 0 || csv.fileLine(i) > csv.fileLine(i - 1)), QString::number(i));
    for (const QString &field : csv.Records[i])
      characters += field.size();
  }
  const QString text = TwfCSV::decode(bytes);
  if (!text.contains(u'"')) {
    qsizetype plain = 0;
    for (const QChar c : text)
      plain += c != QLatin1Char(csv.Separator) && c != u'\r' && c != u'\n';
    FUZZ_CHECK(characters == plain, QString::number(characters) + u' ' + QString::number(plain));
  }
  return 0;
}
