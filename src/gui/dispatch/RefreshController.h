#pragma once
// The refresh button of the dispatch page: wakes the refresh worker for one pass, shows the
// wait cursor while it runs, and at its end, on the window thread, reopens the contact list
// (so the new statuses show) and restores the cursor. A click while a pass runs starts
// nothing.
#include <QObject>
#include <QPointer>

class ContactListReopen;
class DataSet;
class Dialogs;
class DispatchPage;
class TRefreshThread;

class RefreshController : public QObject {
  Q_OBJECT
public:
  // contacts: the main grid's contact list (null without a database: nothing to reopen).
  // dialogs: where the wait cursor goes (null: the installed dialogs).
  RefreshController(DispatchPage &page, TRefreshThread &worker, DataSet *contacts, Dialogs *dialogs = nullptr,
                    QObject *parent = nullptr);
  ~RefreshController() override;

  void tbRefreshClick();
  bool passRunning() const { return waiting_; }

private:
  void passEnded();
  Dialogs &dialogs() const;

  TRefreshThread &worker_;
  ContactListReopen *reopen_ = nullptr;
  Dialogs *dialogs_;
  bool waiting_ = false; // the wait cursor is up for a pass
};
