#pragma once
// Puts the texts of a language file onto a window and its controls.
#include <QString>

class QWidget;

// Sets the window's caption to [TForm] <window objectName>; also when that value is empty.
void SetLangForm(const QString &lang, QWidget *window);
// Applies the class sections to every control and menu item the window owns, then reloads
// the message constants and the transliteration table of that language.
void SetLang(const QString &lang, QWidget *window);
