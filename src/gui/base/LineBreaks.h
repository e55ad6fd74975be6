#pragma once
// Texts of the language files mark their line breaks with CR (code 4 in the file); Qt's labels
// and message boxes break lines only at LF and draw a CR as a blank.
#include <QString>

inline QString withLineBreaks(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(u'\r', u'\n');
  return text;
}
