#pragma once
// A strict reader for the gateway's ordinary successful answer, working on the raw UTF-8 bytes.
//
// Reading an answer with QXmlStreamReader costs about as much as the whole HTTP exchange with a
// gateway on the same machine, and nearly every answer has the same small shape. This reader
// takes only that shape and only what it fully understands; on anything else (a fault, comments,
// CDATA, processing instructions, DOCTYPE, another encoding, a CR in an item, unknown prefixes,
// any doubt) it gives up and the answer goes to the general reader, which also words every
// error. Where both read an answer they give the same items.
#include <QByteArray>
#include <QStringList>

#include <optional>

namespace gateway {

// The items of an answer of the ordinary shape: an optional XML declaration (version 1.0,
// UTF-8), the SOAP envelope holding only its Body, in the Body one response element whose only
// child, or whose first child named Result or Return, holds the items as elements of plain text.
// nullopt when the answer is anything else.
std::optional<QStringList> readOrdinaryAnswer(const QByteArray &body);

} // namespace gateway
