#pragma once
// Closes and reopens the contact list of the main grid so that it shows the rows as the
// database holds them now. While the operator edits a contact (its dialog open over the
// list), closing would throw the edit away: the reopen then waits until the edit has been
// posted or cancelled, and runs from the event loop.
#include <QObject>

class DataSet;

class ContactListReopen : public QObject {
  Q_OBJECT
public:
  explicit ContactListReopen(DataSet &contacts, QObject *parent = nullptr);

  // Reopens now, or once the edit in progress ends. A failing open throws (now) or reaches the
  // general error report (later).
  void request();
  bool pending() const { return pending_; }

private:
  void editEnded();
  void reopen();

  DataSet &contacts_;
  bool pending_ = false;
};
