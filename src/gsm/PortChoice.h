#pragma once
// The port choice of the GSM sub-page without its widgets: the list of present ports with the
// automatic search first, the port number a dispatch reads from it, and the search button.
#include "common/Error.h"

#include <QList>
#include <QString>
#include <QStringList>

BL_ERROR_CLASS(ModemSearchError, AppError)

// COM numbers (ascending) whose device opens exclusively right now; each is closed at once and
// no modem is talked to. A port held by another program or link is not listed.
QList<int> GetListPorts();

class PortChoice {
public:
  static constexpr int kAutoItem = 0;
  static constexpr int kNoSelection = -1;

  // Item 0 is the automatic search (autoText), then "COM" + n per present port; item 0 selected.
  void rebuild(const QString &autoText);
  // The list as it starts, before any port is looked at: the automatic search alone, selected.
  void automaticOnly(const QString &autoText);
  const QStringList &items() const { return items_; }
  int current() const { return current_; }
  void select(int index);
  // The search button is usable while the automatic search item is selected.
  bool searchEnabled() const { return current_ == kAutoItem; }
  // 0 for the automatic search, n for "COMn", -1 when no item is selected.
  int portNumber() const;
  // Selects "COM" + n; with no such item nothing is selected.
  void selectPort(int n);
  // Searches COM1..COM30 now and selects the port found. When none answers, throws
  // notFoundText + CR LF + "Error code: " + the link's code.
  int search(const QString &logFileName, const QString &notFoundText);

private:
  QStringList items_;
  int current_ = kNoSelection;
};
