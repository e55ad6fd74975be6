#pragma once
// Reading the answer of a call: HTTP status, content type, SOAP fault, result list.
#include "gateway/HttpExchange.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace gateway {

// The texts of the result list's items, in document order whatever their element names.
// Throws GatewayError for an error status, a text/plain or text/html answer, a SOAP fault
// or an answer that is not a readable envelope. Status 500 is an error only with a fault or an
// unreadable answer; an ordinary answer under it is read as such. url is named in the status
// error text.
QStringList readResultItems(const HttpReply &reply, const QString &url);

// The general reader behind readResultItems: the items of any answer body, a SOAP fault or an
// unreadable answer thrown as GatewayError. Answers of the ordinary shape are read faster by
// readOrdinaryAnswer, with the same items.
QStringList readAnswerItems(const QByteArray &body);

// Items of an ArrayOfInt: decimal 32-bit integers.
QList<qint32> toIntegers(const QStringList &items);

// "%s (%d) - '%s'": reason phrase, status code, URL.
QString statusErrorText(const HttpReply &reply, const QString &url);

} // namespace gateway
