#pragma once
// What the operator is told about one field of a form: a text the database cannot store, a
// required field left empty, a text cut to the field's length. Each message names the field
// as the operator sees it, by the caption of its label, in the interface language.
#include <QString>

class QLabel;
class QLineEdit;
class QWidget;

namespace field_notices {

// A caption without its mnemonic marker and closing colon ("&Пароль:" -> "Пароль").
QString plainCaption(QString caption);
// The label's text as plainCaption gives it.
QString captionOf(const QLabel *label);
// The caption of the label whose buddy is control, searched in control's window; the
// control's name when it has none.
QString captionOf(const QWidget *control);

// When text holds a character cp1251 cannot hold, says so (the field and the whole
// character) and returns true: the caller stores nothing and keeps what was typed.
bool refuseUnstorable(const QString &caption, const QString &text);
// Says that the field must be filled in.
void requireFilled(const QString &caption);
// Says that the field's text was cut to its first kept characters of length in all.
void tellCut(const QString &caption, qsizetype kept, qsizetype length);

// Keeps edit at most maxLength characters long (instead of the edit's own silent maximum):
// a longer text typed or pasted is cut, and the operator is told once (tellCut, with the
// caption of the edit's label) each time the text grows past the limit. A maxLength of 0
// or less lifts the limit.
void limitLength(QLineEdit *edit, int maxLength);

} // namespace field_notices
