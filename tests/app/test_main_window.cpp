// The main window's structure, navigation, title band and sending-page rules.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "dispatch/TRefreshThread.h"
#include "dispatch/TSmsThread.h"
#include "gui/contacts/ContactsPage.h"
#include "gui/message/PreviewPage.h"

#include "app/TFMain.h"
#include "common/IniFile.h"
#include "common/LangConstants.h"
#include "data/TDModule.h"
#include "gui/base/LineBreaks.h"
#include "gui/base/RowDialogs.h"
#include "gui/sending/SendingPage.h"
#include "support/AppFolder.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDatabase.h"

class MainWindowTest : public QObject {
  Q_OBJECT

  std::unique_ptr<AppFolder> folder;
  std::unique_ptr<ScriptedDialogs> dialogs;
  std::unique_ptr<TestDatabase> database;
  std::unique_ptr<TDModule> data;
  std::unique_ptr<RowDialogs> rowDialogs;
  std::unique_ptr<TFMain> window;

  void open() {
    reloadLangFiles();
    window = std::make_unique<TFMain>(data.get(), rowDialogs.get());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
  }
  QString russian(const QString &section, const QString &key) {
    return IniFile(folder->filePath("langs/Russian.ini")).readString(section, key);
  }
  QList<QLabel *> boldLabels() const {
    QList<QLabel *> bold;
    for (int tag = 1; tag <= TFMain::HelpTag; ++tag)
      if (window->navigationLabel(tag)->font().bold())
        bold << window->navigationLabel(tag);
    return bold;
  }

private slots:
  void init() {
    folder = std::make_unique<AppFolder>();
    folder->copyShippedFiles();
    dialogs = std::make_unique<ScriptedDialogs>();
    // The program always runs with its database open: the pages' controllers need it.
    database = std::make_unique<TestDatabase>(true);
    data = std::make_unique<TDModule>();
    data->openAt(database->path());
    rowDialogs = std::make_unique<RowDialogs>(*data);
  }
  void cleanup() {
    window.reset();
    rowDialogs.reset();
    data.reset();
    database.reset();
    dialogs.reset();
    folder.reset();
  }

  void startsOnContactsWithGatewaySubPage() {
    open();
    QCOMPARE(window->PCMain->currentWidget(), window->TS1);
    QVERIFY(window->PCMain->tabBar()->isHidden());
    QCOMPARE(window->TS4->PCSet->currentIndex(), int(SendingPage::GatewayIndex));
    QVERIFY(!window->TS4->PCSet->isTabVisible(SendingPage::ModemIndex));
    QCOMPARE(boldLabels(), QList<QLabel *>{window->lbContacts});
    QCOMPARE(window->lbTitles->text(), russian("Titles", "ttContacts"));
    QVERIFY(!window->lbTitles->text().isEmpty());
    QCOMPARE(window->windowTitle(), russian("TForm", "FMain"));
    QVERIFY(window->SmsThread && !window->SmsThread->busy());
    QVERIFY(window->RefreshThread && !window->RefreshThread->busy());
  }

  void navigation_data() {
    QTest::addColumn<int>("tag");
    QTest::addColumn<bool>("viaIcon");
    const char *keys[] = {"ttContacts", "ttMessage", "ttPreview", "ttOptions", "ttSend", "ttAbout"};
    for (int tag = 1; tag <= 6; ++tag) {
      QTest::addRow("%s label", keys[tag - 1]) << tag << false;
      QTest::addRow("%s icon", keys[tag - 1]) << tag << true;
    }
  }
  void navigation() {
    QFETCH(int, tag);
    QFETCH(bool, viaIcon);
    open();
    const char *keys[] = {"ttContacts", "ttMessage", "ttPreview", "ttOptions", "ttSend", "ttAbout"};
    QWidget *entry = window->navigationEntries().at((tag - 1) * 2 + (viaIcon ? 1 : 0));
    QTest::mouseClick(entry, Qt::LeftButton);
    QCOMPARE(window->PCMain->currentIndex(), tag - 1);
    QCOMPARE(boldLabels(), QList<QLabel *>{window->navigationLabel(tag)});
    QCOMPARE(window->lbTitles->text(), russian("Titles", keys[tag - 1]));
    QCOMPARE(window->lbMainText->text(), withLineBreaks(GetIniText(russian("MainText", keys[tag - 1]))));
  }

  // Code 4 in a description starts a new line of the title band, as the label lays it out.
  void descriptionKeepsItsLineBreaks() {
    folder->writeText("langs/Short.ini",
                      "[Titles]\r\nttContacts=T\r\n[MainText]\r\nttContacts=One\x04Two\x04Three\r\n");
    folder->writeText("kyv.ini", "[params]\r\nLang=Short\r\n");
    open();
    QLabel *text = window->lbMainText;
    const int lineSpacing = QFontMetrics(text->font()).lineSpacing();
    // Measured as the label lays out plain text: word-wrapped within its width.
    const int height = QFontMetrics(text->font())
                           .boundingRect(QRect(0, 0, text->width(), 1000),
                                         Qt::TextWordWrap | text->alignment(), text->text())
                           .height();
    QVERIFY2(height >= 3 * lineSpacing && height < 4 * lineSpacing,
             qPrintable(QString("%1 px for lines of %2 px").arg(height).arg(lineSpacing)));
  }

  void helpEntryKeepsThePage_data() {
    QTest::addColumn<bool>("viaIcon");
    QTest::newRow("label") << false;
    QTest::newRow("icon") << true;
  }
  void helpEntryKeepsThePage() {
    QFETCH(bool, viaIcon);
    open();
    QTest::mouseClick(window->lbPreview, Qt::LeftButton);
    QTest::mouseClick(viaIcon ? static_cast<QWidget *>(window->Image7) : window->lbHelp, Qt::LeftButton);
    QCOMPARE(window->PCMain->currentWidget(), window->TS3);
    QCOMPARE(boldLabels(), QList<QLabel *>{window->lbPreview});
    QCOMPARE(dialogs->openedDocuments, QStringList{folder->filePath("help/Help.html")});
  }

  void settingsSubPageHidesTestMessage() {
    open();
    QTest::mouseClick(window->lbTypeSend, Qt::LeftButton);
    QVERIFY(window->TS4->gbxTestMes->isVisible());
    window->TS4->PCSet->setCurrentIndex(SendingPage::SettingsIndex);
    QVERIFY(!window->TS4->gbxTestMes->isVisible());
    window->TS4->PCSet->setCurrentIndex(SendingPage::GatewayIndex);
    QVERIFY(window->TS4->gbxTestMes->isVisible());
  }

  void modemSubPageOffered_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("offered");
    QTest::newRow("not set") << QString() << false;
    QTest::newRow("GSM=0") << "0" << false;
    QTest::newRow("GSM=1") << "1" << true;
  }
  void modemSubPageOffered() {
    QFETCH(QString, stored);
    QFETCH(bool, offered);
    if (!stored.isNull())
      folder->writeText("kyv.ini", "[params]\r\nLang=Russian\r\nGSM=" + stored + "\r\n");
    open();
    QTabWidget *set = window->TS4->PCSet;
    QCOMPARE(set->isTabVisible(SendingPage::ModemIndex), offered);
    QCOMPARE(window->TS4->cbGsm->isChecked(), offered);
    // The gateway sub-page stays current at start either way.
    QCOMPARE(set->currentIndex(), int(SendingPage::GatewayIndex));
  }

  void modemSubPageCheckBoxStoresTheChoice() {
    open();
    QTest::mouseClick(window->lbTypeSend, Qt::LeftButton);
    QTabWidget *set = window->TS4->PCSet;
    set->setCurrentIndex(SendingPage::SettingsIndex);
    window->TS4->cbGsm->click();
    QVERIFY(set->isTabVisible(SendingPage::ModemIndex));
    QCOMPARE(IniFile(folder->filePath("kyv.ini")).readString("params", "GSM"), QString("1"));
    set->setCurrentIndex(SendingPage::ModemIndex);
    QVERIFY(window->TS4->gbxTestMes->isVisible());
    window->TS4->cbGsm->setChecked(true);
    window->cbGsmClick(false); // withdrawn while current: back to the gateway
    QVERIFY(!set->isTabVisible(SendingPage::ModemIndex));
    QCOMPARE(set->currentIndex(), int(SendingPage::GatewayIndex));
    QCOMPARE(IniFile(folder->filePath("kyv.ini")).readString("params", "GSM"), QString("0"));
    QCOMPARE(IniFile(folder->filePath("kyv.ini")).readString("params", "Lang"), QString());
  }

  void deleteActionDisabledOnSendingPage() {
    open();
    // The demo group is current and its contacts grid has the focus: its contacts can be deleted.
    QVERIFY(window->ActDelete->isEnabled());
    QTest::mouseClick(window->lbTypeSend, Qt::LeftButton);
    QVERIFY(!window->ActDelete->isEnabled());
    QVERIFY(!window->TS1->findChild<QToolButton *>("tbDelete")->isEnabled());
    QTest::mouseClick(window->lbContacts, Qt::LeftButton);
    QVERIFY(window->ActDelete->isEnabled());
    QVERIFY(window->TS1->findChild<QToolButton *>("tbDelete")->isEnabled());
  }

  void languageList_data() {
    QTest::addColumn<QString>("kyvLang");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<bool>("fileFound");
    QTest::newRow("default Russian") << QString() << "Russian" << true;
    QTest::newRow("English, other case") << "english"
                                         << "English" << true;
    QTest::newRow("language without a file") << "Klingon" << QString() << false;
  }
  void languageList() {
    QFETCH(QString, kyvLang);
    QFETCH(QString, selected);
    QFETCH(bool, fileFound);
    if (!kyvLang.isEmpty())
      folder->writeText("kyv.ini", "[params]\r\nLang=" + kyvLang + "\r\n");
    QFile::rename(folder->filePath("langs/English.ini"), folder->filePath("langs/English.INI"));
    folder->writeText("langs/readme.txt", "not a language");
    open();
    QComboBox *list = window->TS4->cbxLang;
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
      names << list->itemText(i);
    names.sort();
    QCOMPARE(names, (QStringList{"English", "Russian"}));
    QCOMPARE(list->currentText(), selected);
    QVERIFY(!window->lbTitles->text().isEmpty());
    // Without its file the window shows the built-in texts, after one warning naming it.
    QCOMPARE(dialogs->shown.size(), fileFound ? 0 : 1);
    if (!fileFound) {
      QVERIFY(dialogs->shown[0].text.contains("langs/Klingon.ini"));
      QCOMPARE(window->windowTitle(), builtinLangFile()->readString("TForm", "FMain"));
      QCOMPARE(window->lbContacts->text(), builtinLangFile()->readString("TLabel", "lbContacts"));
    }
  }

  void noLanguageFilesAtAll() {
    QDir(folder->filePath("langs")).removeRecursively();
    open();
    QCOMPARE(window->TS4->cbxLang->count(), 0);
    QCOMPARE(CurrentLang(), QString("Russian"));
  }
};

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
