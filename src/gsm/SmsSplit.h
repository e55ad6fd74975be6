#pragma once
// Cutting a long text into independent numbered messages: part i of n is "(i/n)" followed by
// its slice. Slices hold 135 septets (7-bit) or 59 characters (UCS-2) while the total has one
// digit, 133 or 57 from ten parts on, so every labelled part stays within 140 septets or 64
// characters. A 7-bit slice never separates an escape from its character.
#include <QString>
#include <QStringList>

#include <optional>

namespace sms_split {

// Septets of a 7-bit text, characters of a UCS-2 text.
int unitLength(QStringView text, bool sevenBit);
// Septets of a text that goes out in the GSM alphabet; nullopt for a text that goes out in
// UCS-2. The message count reckons transliterated texts with it, as the modem splits them.
std::optional<int> septetLength(QStringView text);
// True when the text goes out as one message without a label.
bool fitsOneMessage(QStringView text, bool sevenBit);
// The slices of a text that is split; their number is the part count.
QStringList slices(const QString &text, bool sevenBit);
// "(" + i + "/" + n + ")"
QString label(int i, int n);

} // namespace sms_split
