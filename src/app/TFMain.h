#pragma once
// The main window: title band, navigation column, the six pages and the status bar.
// Its pages carry the controls; the handlers of each page's work live with the parts that
// own that work and are wired up here.
#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QStatusBar>
#include <QTabWidget>

#include <memory>

#include "gui/base/Widgets.h"
#include "select/RecipientSelection.h"

class ContactsPage;
class MessagePage;
class PreviewPage;
class SendingPage;
class DispatchPage;
class AboutPage;
class TSmsThread;
class TRefreshThread;
class TDModule;
class RowDialogs;
class StartButton;
class DispatchTimer;
class DispatchController;

class TFMain : public QMainWindow {
  Q_OBJECT
public:
  // data: the open data module, with the row dialogs installed over it; both null when no
  // database is open (the pages then show without their data).
  explicit TFMain(TDModule *data = nullptr, RowDialogs *rowDialogs = nullptr, QWidget *parent = nullptr);
  ~TFMain() override;

  // Navigation entries by tag: 1..6 are pages, 7 opens the help file.
  enum { HelpTag = 7 };

  QWidget *Panel1, *Panel2;
  QLabel *lbTitles, *lbMainText;
  QLabel *lbContacts, *lbTemplate, *lbPreview, *lbTypeSend, *lbSend, *lbAbout, *lbHelp;
  ImageBox *Image1, *Image2, *Image3, *Image4, *Image5, *Image6, *Image7;
  QTabWidget *PCMain;
  ContactsPage *TS1;
  MessagePage *TS2;
  PreviewPage *TS3;
  SendingPage *TS4;
  DispatchPage *TS5;
  AboutPage *TS6;
  QStatusBar *StatusBar;
  QLabel *StatusPanel0, *StatusPanel1;
  QAction *ActInsert, *ActEdit, *ActDelete;
  // The two workers, idle between their jobs.
  TSmsThread *SmsThread = nullptr;
  TRefreshThread *RefreshThread = nullptr;
  // The recipients' scope and the filter in force for the contact list, the preview and the dispatch.
  RecipientSelection Selection;

  // A navigation entry (label or icon) was clicked.
  void lbContactsClick(QObject *sender);
  void PCSetChange(int index);
  // Offers or withdraws the modem sub-page and stores the choice in kyv.ini [params] GSM.
  void cbGsmClick(bool checked);

  // The start button's run on the dispatch worker; null when no database is open.
  DispatchController *dispatchController() const { return dispatch_; }

  QLabel *navigationLabel(int tag) const;
  // The label or icon of the entry, for tests and the language key check.
  QList<QWidget *> navigationEntries() const;

protected:
  bool eventFilter(QObject *watched, QEvent *event) override;
  // During a run the window closes once the recipient in hand is done and recorded.
  void closeEvent(QCloseEvent *event) override;

private:
  void FormCreate();
  void buildTitleBand();
  void buildNavigation();
  void buildPages();
  void buildStatusBar();
  void buildActions();
  void fillLanguageList();
  void setTitleBand(const QString &key);

  TDModule *data_;
  RowDialogs *rowDialogs_;
  // The start button's faces, shared by the dispatch run and the timer.
  std::unique_ptr<StartButton> startButton_;
  DispatchTimer *dispatchTimer_ = nullptr;
  DispatchController *dispatch_ = nullptr;
  // Controllers and workers, destroyed before the widgets.
  QList<QPointer<QObject>> owned_;
};
