#include "common/TextFileCheck.h"

#include "common/LangConstants.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

bool allowedControl(unsigned char b) {
  return b == '\t' || b == '\r' || b == '\n' || b == 4;
}

QString byteText(unsigned char b) {
  return QStringLiteral("0x") + QString::number(b, 16).rightJustified(2, u'0').toUpper();
}

bool looksLikeUtf8(QByteArrayView bytes) {
  if (bytes.startsWith("\xEF\xBB\xBF"))
    return true;
  bool nonAscii = false;
  for (const char c : bytes)
    if (static_cast<unsigned char>(c) >= 0x80) {
      nonAscii = true;
      break;
    }
  if (!nonAscii)
    return false;
  // Real cp1251 text (Cyrillic letters are bytes 0xC0..0xFF, rarely followed by two
  // continuation bytes) is practically never valid UTF-8 as a whole.
  QStringDecoder utf8(QStringDecoder::Utf8);
  const QString decoded = utf8.decode(bytes); // converts only when taken as a QString
  return !utf8.hasError();
}

} // namespace

QString TextFileProblem::describe() const {
  const LangConstants &t = LangConst();
  switch (kind) {
  case Kind::None:
    return {};
  case Kind::Missing:
    return t.stFileMissing;
  case Kind::Unreadable:
    return t.stFileUnreadable.arg(detail);
  case Kind::Utf8:
    return t.stFileUtf8;
  case Kind::NotText:
    return t.stFileNotText.arg(line).arg(detail);
  case Kind::LongLine:
    return t.stFileLongLine.arg(line).arg(detail);
  case Kind::RuleShape:
    return t.stTranslitRule.arg(line).arg(detail);
  }
  return {};
}

namespace text_file_check {

TextFileProblem check(QByteArrayView bytes, qsizetype maxLineLength) {
  TextFileProblem problem;
  if (looksLikeUtf8(bytes)) {
    problem.kind = TextFileProblem::Kind::Utf8;
    return problem;
  }
  qsizetype line = 1, lineLength = 0;
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b == '\n' || (b == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n'))) {
      ++line;
      lineLength = 0;
      continue;
    }
    if (b == '\r')
      continue; // the CR of a CR LF
    // 0x98 is the one byte cp1251 gives no character.
    if ((b < 0x20 && !allowedControl(b)) || b == 0x7F || b == 0x98) {
      problem.kind = TextFileProblem::Kind::NotText;
      problem.line = line;
      problem.detail = byteText(b);
      return problem;
    }
    if (maxLineLength > 0 && ++lineLength > maxLineLength) {
      problem.kind = TextFileProblem::Kind::LongLine;
      problem.line = line;
      problem.detail = QString::number(maxLineLength);
      return problem;
    }
  }
  return problem;
}

CheckedTextFile read(const QString &path, qsizetype maxLineLength) {
  CheckedTextFile result;
  QFile file(path);
  if (!QFileInfo::exists(path)) {
    result.problem.kind = TextFileProblem::Kind::Missing;
    return result;
  }
  if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
    result.problem.kind = TextFileProblem::Kind::Unreadable;
    result.problem.detail = QFileInfo(path).isDir() ? QStringLiteral("Is a directory") : file.errorString();
    return result;
  }
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    result.problem.kind = TextFileProblem::Kind::Unreadable;
    result.problem.detail = file.errorString();
    return result;
  }
  result.problem = check(bytes, maxLineLength);
  if (result.problem.ok())
    result.bytes = std::move(bytes);
  return result;
}

} // namespace text_file_check
