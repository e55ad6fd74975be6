#pragma once
// The GSM 03.38 default alphabet and its extension table (3GPP TS 23.038): a 7-bit text is
// sent as the alphabet's own septet values, not as ASCII codes, so "@" is 00 and "$" 02.
// Extension characters travel as the escape 1B followed by their code and take two septets.
// A tab goes out as a blank and a grave accent as an apostrophe: neither has a septet.
#include <QByteArray>
#include <QStringView>

namespace gsm_alphabet {

// Septets the character takes: 1 (default alphabet), 2 (extension table), 0 (neither).
int septetCount(QChar c);
// True when every character has a place in the alphabet or its extension (empty text: true).
bool isGsmText(QStringView text);
// One byte per septet (values 0..127); characters without a place become "?".
QByteArray toSeptets(QStringView text);

} // namespace gsm_alphabet
