#pragma once
// The modem log: a plain cp1251 text file of entries
//   "Port: COM" + n + " " + short date + " " + long time + ": " + text
// each ending a line, so the file reads as if its lines were loaded, the entry added and all
// lines written back; the entry is appended instead, so the cost does not grow with the file.
// Entries of links writing at the same moment (threads or processes) do not interleave.
// A log that cannot be opened loses the entry and nothing else happens.
#include <QByteArray>
#include <QString>

namespace modem_log {

// The header of an entry made now for port n: "Port: COM5 <date> <time>: ".
QString header(int portNumber);
// Appends one entry; text is already cp1251. Returns false when the entry was lost.
bool append(const QString &fileName, int portNumber, const QByteArray &text);

} // namespace modem_log
