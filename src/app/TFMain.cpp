#include "app/TFMain.h"

#include <QCloseEvent>
#include <QDir>
#include <QEvent>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QStyle>
#include <QVBoxLayout>

#include "common/AppPaths.h"
#include "common/Dialogs.h"
#include "common/IniFile.h"
#include "common/LangConstants.h"
#include "data/TDModule.h"
#include "dispatch/TRefreshThread.h"
#include "dispatch/TSmsThread.h"
#include "gui/about/AboutPage.h"
#include "gui/base/Language.h"
#include "gui/base/LineBreaks.h"
#include "gui/contacts/ContactsController.h"
#include "gui/contacts/ContactsPage.h"
#include "gui/dispatch/DispatchController.h"
#include "gui/dispatch/DispatchPage.h"
#include "gui/dispatch/DispatchTimer.h"
#include "gui/dispatch/RefreshController.h"
#include "gui/dispatch/StartButton.h"
#include "gui/exchange/ExchangeController.h"
#include "gui/message/MessageController.h"
#include "gui/message/MessagePage.h"
#include "gui/message/PreviewPage.h"
#include "gui/select/RecipientScopeBoxes.h"
#include "gui/select/SelectionController.h"
#include "gui/sending/GsmSubPage.h"
#include "gui/sending/SendingPage.h"
#include "gui/sending/SettingsController.h"
#include "gui/sending/TestMessageController.h"

namespace {

const QColor background(240, 251, 255);

// The title band keys of the pages, by tag.
const char *const titleKeys[] = {"ttContacts", "ttMessage", "ttPreview", "ttOptions", "ttSend", "ttAbout"};

int tagOf(const QObject *o) {
  return o ? o->property("tag").toInt() : 0;
}

} // namespace

TFMain::TFMain(TDModule *data, RowDialogs *rowDialogs, QWidget *parent)
    : QMainWindow(parent), data_(data && data->KyvBase.isOpen() ? data : nullptr), rowDialogs_(rowDialogs) {
  setObjectName("FMain");
  setWindowTitle("Brisklane");
  QPalette p = palette();
  p.setColor(QPalette::Window, background);
  setPalette(p);
  setAutoFillBackground(true);

  auto *central = new QWidget(this);
  central->setObjectName("central");
  setCentralWidget(central);
  buildTitleBand();
  buildNavigation();
  buildPages();
  buildStatusBar();
  buildActions();

  auto *body = new QHBoxLayout;
  body->setContentsMargins(0, 0, 0, 0);
  body->addWidget(Panel2);
  body->addWidget(PCMain, 1);
  auto *layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(Panel1);
  layout->addLayout(body, 1);

  FormCreate();
}

TFMain::~TFMain() {
  // The widgets go after this part of the window: nothing they emit on the way (a page
  // hiding, a selection clearing) may reach the window or the controllers of its pages.
  for (QWidget *w : findChildren<QWidget *>())
    w->blockSignals(true);
  for (const QPointer<QObject> &owned : std::as_const(owned_))
    delete owned.data();
}

void TFMain::buildTitleBand() {
  Panel1 = new QWidget(this);
  Panel1->setObjectName("Panel1");
  Panel1->setFixedHeight(105);
  lbTitles = new QLabel("Контакты", Panel1);
  lbTitles->setObjectName("lbTitles");
  QFont bold = lbTitles->font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() * 1.4);
  lbTitles->setFont(bold);
  lbMainText = new QLabel(Panel1);
  lbMainText->setObjectName("lbMainText");
  lbMainText->setWordWrap(true);
  lbMainText->setFixedSize(876, 62);
  lbMainText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  auto *layout = new QVBoxLayout(Panel1);
  layout->addWidget(lbTitles);
  layout->addWidget(lbMainText);
  layout->addStretch();
}

void TFMain::buildNavigation() {
  Panel2 = new QWidget(this);
  Panel2->setObjectName("Panel2");
  Panel2->setFixedWidth(225);
  const QStyle *s = style();
  struct Entry {
    QLabel *&label;
    ImageBox *&image;
    const char *labelName;
    const char *imageName;
    const char *caption;
    QStyle::StandardPixmap icon;
  };
  const Entry entries[] = {
      {lbContacts, Image1, "lbContacts", "Image1", "Контакты", QStyle::SP_DirHomeIcon},
      {lbTemplate, Image2, "lbTemplate", "Image2", "Сообщение", QStyle::SP_FileDialogDetailedView},
      {lbPreview, Image3, "lbPreview", "Image3", "Предпросмотр", QStyle::SP_FileDialogContentsView},
      {lbTypeSend, Image4, "lbTypeSend", "Image4", "Способ рассылки", QStyle::SP_ComputerIcon},
      {lbSend, Image5, "lbSend", "Image5", "Рассылка", QStyle::SP_MediaPlay},
      {lbAbout, Image6, "lbAbout", "Image6", "О программе", QStyle::SP_MessageBoxInformation},
      {lbHelp, Image7, "lbHelp", "Image7", "Справка", QStyle::SP_DialogHelpButton},
  };
  auto *layout = new QVBoxLayout(Panel2);
  int tag = 1;
  for (const Entry &e : entries) {
    e.image = new ImageBox(Panel2);
    e.image->setObjectName(e.imageName);
    e.image->setFixedSize(41, 41);
    e.image->setPixmap(s->standardIcon(e.icon).pixmap(32, 32));
    e.image->setAlignment(Qt::AlignCenter);
    e.label = new QLabel(e.caption, Panel2);
    e.label->setObjectName(e.labelName);
    for (QWidget *w : {static_cast<QWidget *>(e.image), static_cast<QWidget *>(e.label)}) {
      w->setProperty("tag", tag);
      w->setCursor(Qt::PointingHandCursor);
      w->installEventFilter(this);
    }
    auto *row = new QHBoxLayout;
    row->addWidget(e.image);
    row->addWidget(e.label, 1);
    layout->addLayout(row);
    ++tag;
  }
  layout->addStretch();
  QFont bold = lbContacts->font();
  bold.setBold(true);
  lbContacts->setFont(bold);
}

void TFMain::buildPages() {
  PCMain = new QTabWidget(this);
  PCMain->setObjectName("PCMain");
  PCMain->tabBar()->hide();
  TS1 = new ContactsPage;
  TS2 = new MessagePage;
  TS3 = new PreviewPage;
  TS4 = new SendingPage;
  TS5 = new DispatchPage;
  TS6 = new AboutPage;
  PCMain->addTab(TS1, "Контакты");
  PCMain->addTab(TS2, "Сообщение");
  PCMain->addTab(TS3, "Предпросмотр");
  PCMain->addTab(TS4, "Способ рассылки");
  PCMain->addTab(TS5, "Рассылка");
  PCMain->addTab(TS6, "О программе");

  connect(TS4->PCSet, &QTabWidget::currentChanged, this, &TFMain::PCSetChange);
}

void TFMain::buildStatusBar() {
  StatusBar = new QStatusBar(this);
  StatusBar->setObjectName("StatusBar");
  StatusBar->setSizeGripEnabled(false);
  StatusPanel0 = new QLabel(StatusBar);
  StatusPanel0->setObjectName("StatusPanel0");
  StatusPanel0->setFixedWidth(225);
  StatusPanel1 = new QLabel(StatusBar);
  StatusPanel1->setObjectName("StatusPanel1");
  StatusPanel1->setMinimumWidth(50);
  StatusBar->addWidget(StatusPanel0);
  StatusBar->addWidget(StatusPanel1, 1);
  setStatusBar(StatusBar);
}

void TFMain::buildActions() {
  // The tool buttons keep their own names and captions (the language file addresses them),
  // so they follow their action's enabled state and trigger it rather than show it.
  auto make = [this](const char *name, const QString &caption, const QKeySequence &key, QToolButton *button) {
    auto *a = new QAction(caption, this);
    a->setObjectName(name);
    a->setShortcut(key);
    a->setShortcutContext(Qt::WindowShortcut);
    addAction(a);
    connect(button, &QToolButton::clicked, a, &QAction::trigger);
    connect(a, &QAction::changed, button, [a, button] { button->setEnabled(a->isEnabled()); });
    return a;
  };
  ActInsert = make("ActInsert", "Добавить", QKeySequence(Qt::Key_Insert), TS1->tbInsert);
  ActEdit = make("ActEdit", "Редактировать", QKeySequence(Qt::CTRL | Qt::Key_E), TS1->tbEdit);
  ActDelete = make("ActDelete", "Удалить", QKeySequence(Qt::CTRL | Qt::Key_Delete), TS1->tbDelete);
}

void TFMain::FormCreate() {
  CurrentLang() = IniFile(app_paths::besideExecutable("kyv.ini")).readString("params", "Lang", "Russian");
  fillLanguageList();
  SetLangForm(CurrentLang(), this);
  SetLang(CurrentLang(), this);
  // The field menu and the placeholder table are built once, here.
  auto *message = new MessageController(TS2, TS3, data_, rowDialogs_, Selection, this);
  owned_ << message << new SettingsController(TS4, this, data_, this);
  owned_ << new RecipientScopeBoxes(*TS2, data_ ? &data_->IBGroups : nullptr, Selection, this);
  message->buildFieldMenu();
  TS4->gsmPage->setOptions(data_ ? &data_->IBOptions : nullptr);
  owned_ << new TestMessageController(*TS4, data_ ? &data_->IBOptions : nullptr, nullptr, this);

  // The modem sub-page is offered only where the operator asked for it.
  const bool modem = IniFile(app_paths::besideExecutable("kyv.ini")).readString("params", "GSM") == "1";
  TS4->PCSet->setTabVisible(SendingPage::ModemIndex, modem);
  TS4->cbGsm->setChecked(modem);
  connect(TS4->cbGsm, &QCheckBox::clicked, this, &TFMain::cbGsmClick);

  PCMain->setCurrentWidget(TS1);
  SendingPage *set = TS4;
  set->PCSet->setCurrentIndex(set->PCSet->isTabVisible(SendingPage::GatewayIndex) ? SendingPage::GatewayIndex
                                                                                  : SendingPage::ModemIndex);
  setTitleBand("ttContacts");

  SmsThread = new TSmsThread(this);
  RefreshThread = new TRefreshThread(data_ ? &data_->KyvBase : nullptr, this);
  if (data_) {
    const DispatchInputs inputs{TS4->PCSet,      TS4->gsmPage,    TS4->edLoginSh, TS4->edPassSh,
                                TS2->mmTemplate, TS2->cbFlashAll, TS2->cbTranslit};
    dispatch_ =
        new DispatchController(*TS5, *StatusPanel1, inputs, Selection, *data_, *SmsThread, nullptr, this);
    connect(dispatch_, &DispatchController::closeReady, this, &QWidget::close);
    owned_ << dispatch_; // before the worker it waits for
  }
  owned_ << SmsThread << RefreshThread;
  owned_ << new RefreshController(*TS5, *RefreshThread, data_ ? &data_->IBContacts : nullptr, nullptr, this);
  // The run and the timer share the start button's faces; without a database only the timer has them.
  if (!dispatch_)
    startButton_ = std::make_unique<StartButton>(*TS5->tbStart);
  StartButton &faces = dispatch_ ? dispatch_->startButton() : *startButton_;
  // The timer's moment starts a run exactly as the start button does.
  dispatchTimer_ = new DispatchTimer(
      *TS5, *StatusPanel1, faces,
      [this] {
        if (dispatch_)
          dispatch_->startRun();
      },
      {}, {}, this);
  if (dispatch_)
    dispatch_->setArmedTimer(dispatchTimer_);
  owned_ << dispatchTimer_;
  if (data_ && rowDialogs_) {
    auto *contacts =
        new ContactsController(*TS1, {ActInsert, ActEdit, ActDelete}, *data_, *rowDialogs_, this);
    // Connected after the settings controller, so the delete rule has the last word.
    connect(TS4, &NotifyingPage::shown, contacts, [contacts] { contacts->setDeleteBlocked(true); });
    connect(TS4, &NotifyingPage::hidden, contacts, [contacts] { contacts->setDeleteBlocked(false); });
    owned_ << contacts;
    owned_ << new SelectionController(*TS1, *data_, *rowDialogs_, Selection, Dialogs::instance(), {}, this);
    owned_ << new ExchangeController(
        *TS1, *data_, Dialogs::instance(), LangConst(),
        [](const QString &path) { return Dialogs::instance().openDocument(path); }, this);
  }
}

void TFMain::fillLanguageList() {
  QComboBox *list = TS4->cbxLang;
  list->clear();
  const QDir langs(app_paths::besideExecutable("langs"));
  // The name filter matches regardless of case, so "Russian.INI" is listed as "Russian" too.
  for (const QString &file : langs.entryList({"*.ini"}, QDir::Files, QDir::Unsorted))
    list->addItem(file.left(file.size() - 4));
  list->setCurrentIndex(-1);
  for (int i = 0; i < list->count(); ++i)
    if (list->itemText(i).compare(CurrentLang(), Qt::CaseInsensitive) == 0) {
      list->setCurrentIndex(i);
      break;
    }
}

void TFMain::setTitleBand(const QString &key) {
  lbTitles->setText(langText(CurrentLang(), "Titles", key));
  lbMainText->setText(withLineBreaks(GetIniText(langText(CurrentLang(), "MainText", key))));
}

QLabel *TFMain::navigationLabel(int tag) const {
  const QList<QLabel *> labels{lbContacts, lbTemplate, lbPreview, lbTypeSend, lbSend, lbAbout, lbHelp};
  return tag >= 1 && tag <= labels.size() ? labels[tag - 1] : nullptr;
}

QList<QWidget *> TFMain::navigationEntries() const {
  return {lbContacts, Image1, lbTemplate, Image2,  lbPreview, Image3, lbTypeSend,
          Image4,     lbSend, Image5,     lbAbout, Image6,    lbHelp, Image7};
}

bool TFMain::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() == QEvent::MouseButtonRelease && tagOf(watched) > 0) {
    auto *mouse = static_cast<QMouseEvent *>(event);
    if (mouse->button() == Qt::LeftButton) {
      lbContactsClick(watched);
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void TFMain::closeEvent(QCloseEvent *event) {
  if (dispatch_ && !dispatch_->mayClose()) {
    event->ignore();
    return;
  }
  QMainWindow::closeEvent(event);
}

void TFMain::lbContactsClick(QObject *sender) {
  const QString name = sender->objectName();
  if (name == "lbHelp" || name == "Image7") {
    // A missing help file or viewer is not reported.
    Dialogs::instance().openDocument(app_paths::besideExecutable("help/Help.html"));
    return;
  }
  for (int tag = 1; tag <= HelpTag; ++tag) {
    QFont f = navigationLabel(tag)->font();
    f.setBold(false);
    navigationLabel(tag)->setFont(f);
  }
  const int tag = tagOf(sender);
  if (tag < 1 || tag > 6)
    return;
  PCMain->setCurrentIndex(tag - 1);
  QFont f = navigationLabel(tag)->font();
  f.setBold(true);
  navigationLabel(tag)->setFont(f);
  setTitleBand(titleKeys[tag - 1]);
}

void TFMain::PCSetChange(int index) {
  TS4->gbxTestMes->setVisible(index == SendingPage::GatewayIndex || index == SendingPage::ModemIndex);
}

void TFMain::cbGsmClick(bool checked) {
  IniFile(app_paths::besideExecutable("kyv.ini")).writeString("params", "GSM", checked ? "1" : "0");
  QTabWidget *set = TS4->PCSet;
  if (!checked && set->currentIndex() == SendingPage::ModemIndex)
    set->setCurrentIndex(SendingPage::GatewayIndex);
  set->setTabVisible(SendingPage::ModemIndex, checked);
}
