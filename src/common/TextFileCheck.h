#pragma once
// The system's text files (language and transliteration files) are cp1251 text written by
// people. Before any of a file is used it is checked, so a missing, unreadable, UTF-8 or
// binary file is refused as a whole with the reason, instead of turning into empty or
// garbled texts.
#include <QByteArray>
#include <QString>

struct TextFileProblem {
  enum class Kind { None, Missing, Unreadable, Utf8, NotText, LongLine, RuleShape };
  Kind kind = Kind::None;
  qsizetype line = 0; // 1-based line of the fault, when the fault has one
  QString detail;     // the system's own error text, or the offending byte ("0x00")

  bool ok() const { return kind == Kind::None; }
  // The reason in the interface language, for instance "файл не найден".
  QString describe() const;
};

struct CheckedTextFile {
  QByteArray bytes; // empty when the file was refused
  TextFileProblem problem;
};

namespace text_file_check {

// The longest line a file may hold when no other limit is given: none.
constexpr qsizetype NoLineLimit = 0;

// Checks bytes as cp1251 text: no UTF-8 (a byte-order mark, or non-ASCII bytes that are all
// valid UTF-8), no control bytes other than tab, line ends and the code-4 separator of the
// language files, no byte cp1251 leaves undefined, and, when maxLineLength > 0, no line
// longer than that many characters.
TextFileProblem check(QByteArrayView bytes, qsizetype maxLineLength = NoLineLimit);
// Reads the file and checks it; a missing or unreadable file is a problem too.
CheckedTextFile read(const QString &path, qsizetype maxLineLength = NoLineLimit);

} // namespace text_file_check
