#pragma once
// FormText: the single place where message texts are made. It runs a contact query and
// turns the template into one personalised message per row (the preview, the count and the
// dispatch all come here).
#include "common/Error.h"
#include "common/MasNameValue.h"
#include "compose/FieldFormatter.h"

#include <QString>

class Attachment;
class TranslitTable;

// A template holding a character the Windows Cyrillic code page cannot hold: every text of
// the system is kept and sent in that code page, so such a text is refused, never mangled.
BL_ERROR_CLASS(TemplateTextError, AppError)

// Throws TemplateTextError when text holds a character cp1251 has no place for.
void requireCp1251Text(const QString &text);

// Replaces, for each placeholder table entry in table order, every occurrence of its code
// with columnText(entry position). Occurrences are replaced left to right and the inserted
// text is not searched again for that same code, though it is for the codes that follow.
// columnText is asked only for codes that occur.
template <class ColumnText>
QString substitutePlaceholders(QString text, const TMasNameValue &placeholders, ColumnText &&columnText) {
  for (const TNameValue &entry : placeholders) {
    // An empty code would match everywhere; it stands for nothing.
    if (entry.Name.isEmpty() || !text.contains(entry.Name))
      continue;
    // QString::replace finds every match in the text as it stands before replacing, so a
    // value holding its own code is inserted once and never searched again for that code.
    text.replace(entry.Name, columnText(int(entry.Value)));
  }
  return text;
}

// Runs query (columns from GetListFields) on a private read transaction and returns one
// message per row, in row order. Phone and Id come from the PHONE and ID columns when the
// query has them. translit, when given, rewrites every message after substitution.
// Database errors propagate (with the transaction released); a template cp1251 cannot hold
// throws TemplateTextError, and a refused transliteration table TranslitFileError, before
// the query runs: no message is made from either.
TMasSMS FormText(Attachment &db, const QString &templateText, const QString &query,
                 const TMasNameValue &placeholders, const TranslitTable *translit,
                 const FieldFormatter &formatter = FieldFormatter());
