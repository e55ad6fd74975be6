#pragma once
// Transliteration: a per-language table that rewrites single characters (Cyrillic letters,
// typically) into Latin letters or letter groups, so a message fits the longer Latin parts.
#include "common/Error.h"
#include "common/MasNameValue.h"
#include "common/TextFileCheck.h"

#include <QByteArrayView>
#include <QHash>
#include <QString>

#include <array>

BL_ERROR_CLASS(TranslitFileError, AppError)

// The rules of one transliteration file ("translit/<language>.trs", cp1251). Each non-empty
// line is a rule: its first character is the source, everything after the line's first
// hyphen is the replacement (no hyphen: the source is dropped). The earlier rule wins.
class TranslitTable {
public:
  // The longest line a transliteration file may hold.
  static constexpr qsizetype MaxLineLength = 100;

  // Drops every rule; the table is usable (and changes nothing) again.
  void clear();
  // Replaces the rules with those of the cp1251 text; lines end with CR LF, LF or CR.
  void parse(QByteArrayView bytes);
  // What makes the bytes unfit for a table: not cp1251 text, a line longer than
  // MaxLineLength, or a line that is no rule (more than one character before its first
  // hyphen, or several characters and no hyphen at all). ok() for a sound file.
  static TextFileProblem check(QByteArrayView bytes);
  // Replaces the rules with those of the file. A file that is missing, unreadable or fails
  // check() leaves the table empty and refused (see refusal()), and TranslitFileError says
  // why in the interface language, naming the file.
  void load(const QString &path);
  // Why the last load refused its file; empty while the table is usable. A refused table
  // must not be used for a message: it would send the text untransliterated.
  const QString &refusal() const { return refusal_; }
  bool usable() const { return refusal_.isEmpty(); }

  // The text with every character that is a source replaced, in one pass (a replacement is
  // never transliterated again). ASCII letters match their source regardless of case.
  QString apply(const QString &text) const;

  // One entry per rule in file order, Value = the rule's line number (from 0): the source
  // characters and, at the same positions, their replacements.
  const TMasNameValue &sources() const { return sources_; }
  const TMasNameValue &replacements() const { return replacements_; }

private:
  TMasNameValue sources_;
  TMasNameValue replacements_;
  // Position of the earliest rule of each source. Messages are cp1251 text, whose letters
  // all lie below denseLimit: those are found by index, the rare others by hash.
  static constexpr char16_t denseLimit = 0x500;
  qsizetype ruleOf(char16_t c) const;
  std::array<qint32, denseLimit> dense_ = emptyDense();
  QHash<char16_t, qint32> sparse_;
  bool empty_ = true;
  qsizetype longestReplacement_ = 1;
  QString refusal_;
  static std::array<qint32, denseLimit> emptyDense();
};

// The process-wide table, held for the main window and replaced at each language change.
TranslitTable &translitTable();
// "translit/<lang>.trs" beside the executable.
QString translitFilePath(const QString &lang);
// Rebuilds the process-wide table from the file of the current language (CurrentLang()).
// Throws TranslitFileError when the file is refused; the table is then empty and refused.
void LoadTranslit();
// The same for a named language.
void LoadTranslit(const QString &lang);
// The text transliterated with the process-wide table; unchanged while the table is empty.
QString Translit(const QString &text);
