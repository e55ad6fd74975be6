#pragma once
// The Subject of a mail message, decoded as a mail header: RFC 2047 encoded words (B and Q,
// any character set iconv knows) become text; folded lines are joined. Raw 8-bit text
// without encoded words is read as UTF-8, or as cp1251 where it is not valid UTF-8.
#include <QByteArray>
#include <QString>

namespace mail {

// message: the whole message or only its header block. A message without a Subject header
// gives empty text.
QString messageSubject(const QByteArray &message);

} // namespace mail
