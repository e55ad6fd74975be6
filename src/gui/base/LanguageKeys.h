#pragma once
// Which language-file keys a window's controls and menu items are read from.
#include <QList>
#include <QString>

class QWidget;

struct LanguageKey {
  QString section;
  QString key; // the control's name
};

// The [section]/key pairs that SetLang reads for the window's controls and menu items, in
// the order it reads them (the window's own caption, [TForm], is not among them).
QList<LanguageKey> languageKeysOf(QWidget *window);
