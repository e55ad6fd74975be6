#pragma once
// Puts the texts of a language file onto a window and its controls.
#include <QString>

class QWidget;

// Sets the window's caption to [TForm] <window objectName>; also when that value is empty.
void SetLangForm(const QString &lang, QWidget *window);
// Applies the class sections to every control and menu item the window owns, then reloads
// the message constants and the transliteration table of that language.
// A control's section comes from its exact class: QLabel [TLabel], QToolButton [TToolButton],
// QPushButton [TButton], QGroupBox [TGroupBox], QCheckBox [TCheckBox], DBCheckBox
// [TDBCheckBox], QComboBox [TComboBox], MenuItem [TMenuItem]; a page of a QTabWidget is a
// [TTabSheet]. Subclasses (ImageBox, DBLookupComboBox, ...) and plain QActions such as the
// record actions get nothing; dialogs parented to the window are left to themselves.
// A language file that is missing, unreadable or not cp1251 text (the built-in Russian
// texts stand in), and a transliteration file that is missing or refused, are
// reported through Dialogs in one warning naming the files, after the texts are set.
// Every dialog applies the language again when it is created: the same report is then not
// repeated, unless report is Always (the operator applying a language).
enum class LanguageReport { Once, Always };
void SetLang(const QString &lang, QWidget *window, LanguageReport report = LanguageReport::Once);
