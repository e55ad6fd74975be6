#include "gsm/PortChoice.h"
#include "gsm/PortMap.h"
#include "gsm/SerialPort.h"
#include "gsm/TSendSMS.h"

QList<int> GetListPorts() {
  QList<int> present;
  const QStringList paths = port_map::devicePaths();
  for (int n = port_map::kFirstPort; n <= int(paths.size()); ++n) {
    if (paths.at(n - 1).isEmpty())
      continue;
    try {
      SerialPort probe(paths.at(n - 1));
      present.append(n);
    } catch (const SerialError &) {
      // absent, or held by someone else
    }
  }
  return present;
}

void PortChoice::rebuild(const QString &autoText) {
  items_ = {autoText};
  for (int n : GetListPorts())
    items_.append(QStringLiteral("COM%1").arg(n));
  current_ = kAutoItem;
}

void PortChoice::automaticOnly(const QString &autoText) {
  items_ = {autoText};
  current_ = kAutoItem;
}

void PortChoice::select(int index) {
  current_ = (index >= 0 && index < items_.size()) ? index : kNoSelection;
}

int PortChoice::portNumber() const {
  if (current_ == kAutoItem)
    return 0;
  if (current_ == kNoSelection)
    return kNoSelection;
  return items_.at(current_).mid(3).toInt();
}

void PortChoice::selectPort(int n) {
  current_ = int(items_.indexOf(QStringLiteral("COM%1").arg(n), 1));
}

int PortChoice::search(const QString &logFileName, const QString &notFoundText) {
  int found = 0;
  {
    TSendSMS link(0, logFileName);
    if (link.LastError != link_error::None)
      throw ModemSearchError(notFoundText + QStringLiteral("\r\nError code: %1").arg(link.LastError));
    found = link.PortNumber;
  } // the port is closed before the list changes
  selectPort(found);
  return found;
}
