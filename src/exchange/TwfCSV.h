#pragma once
// The CSV reader: splits a file into lines and fields.
//
// Lines end at CR LF, a lone CR or a lone LF; a line end at the very end of the file adds no
// empty line. Fields are split at Separator, with nothing trimmed: a line with k separators
// has k + 1 fields, an empty line has one empty field. A field that begins with a quotation
// mark is quoted (RFC 4180): it ends at the next lone quotation mark, a doubled one stands for
// one, and separators and line breaks inside it belong to the value; characters between the
// closing mark and the next separator are kept. A quotation mark anywhere else is an ordinary
// character. An opening mark that is never closed is an ordinary character too, and so is
// every mark after it: the rest of the file is split without quotes.
//
// The file is text in the Windows Cyrillic code page, unless it starts with the UTF-8 byte
// order mark or is valid UTF-8 holding bytes above 127 (files saved by today's editors and
// spreadsheets); the mark is not part of the first field.
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

class TwfCSV {
public:
  using TMasRecord = QList<QStringList>;
  enum class Encoding { Cp1251, Utf8 };

  char Separator = ',';
  qint32 RecordCount = 0; // lines read
  qint32 FieldCount = 0;  // fields of the last line read
  TMasRecord Records;     // Records[i][k]: field k of line i, each line with its own count

  // Reads and splits the file, replacing what was read before. An empty name reads nothing.
  // Throws CsvReadError with the file system's message when the file cannot be read.
  void ReadFile(const QString &fileName);
  // The same for bytes already in memory.
  void ReadBytes(QByteArrayView bytes);

  // The line of the file (from 1) where line i begins: the two differ after a quoted field
  // that holds line breaks.
  int fileLine(int i) const { return i >= 0 && i < firstLines_.size() ? firstLines_[i] : i + 1; }
  Encoding encoding() const { return encoding_; }

  // The file's text by the rule above.
  static QString decode(QByteArrayView bytes, Encoding *encoding = nullptr);

private:
  void split(const QString &text);

  QList<int> firstLines_;
  Encoding encoding_ = Encoding::Cp1251;
};
