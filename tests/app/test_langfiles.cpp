// The shipped language files: every key the program reads is there, in both languages, and
// every control of the program's windows finds its text.
#include "app/TFMain.h"
#include "common/Cp1251.h"
#include "common/IniFile.h"
#include "common/LangConstants.h"
#include "common/TextLines.h"
#include "data/TDModule.h"
#include "gui/base/LanguageKeys.h"
#include "gui/contacts/TFAddContact.h"
#include "gui/contacts/TFAddGroup.h"
#include "gui/exchange/TFImportCSV.h"
#include "gui/dispatch/TFSetTimer.h"
#include "gui/message/TFAddTemplate.h"
#include "gui/message/TFListTemplate.h"
#include "gui/select/TFAddFilter.h"
#include "gui/select/TFFilter.h"
#include "gui/select/TFListFilter.h"
#include "gui/sending/TFSetCom.h"
#include "select/FilterCommands.h"
#include "select/RecipientSelection.h"
#include "support/AppFolder.h"
#include "support/ScriptedDialogs.h"

#include <QFile>
#include <QSet>
#include <QTest>
#include <functional>
#include <memory>

namespace {

using KeyList = QList<std::pair<QString, QStringList>>; // section, keys

QStringList numbered(const QString &prefix, int from, int to) {
  QStringList keys;
  for (int i = from; i <= to; ++i)
    keys << prefix + QString::number(i);
  return keys;
}

const QStringList pageKeys = {"ttContacts", "ttMessage", "ttPreview", "ttOptions", "ttSend", "ttAbout"};

// Keys whose text the windows show: each must have a non-empty value.
KeyList textKeys() {
  QStringList constants;
  for (const auto &k : langConstantKeys())
    constants << QString::fromLatin1(k.key);
  return {
      {"TForm",
       {"FMain", "FAddContact", "FAddFilter", "FAddGroup", "FAddTemplate", "FFilter", "FImportCSV",
        "FListFilter", "FListTemplate", "FSetCom", "FSetTimer"}},
      {"TLabel", QStringList{"lbTitles",    "lbMainText",  "lbContacts",    "lbTemplate",   "lbPreview",
                             "lbTypeSend",  "lbSend",      "lbAbout",       "lbHelp",       "lbTempl",
                             "lbPrev",      "lbFullText",  "lbShLogin",     "lbShPass",     "lbCOM",
                             "lbLang",      "lbGsmTime",   "lbEmLogin",     "lbEmPass",     "lbEmPOP",
                             "lbNPhone",    "lbMessage",   "lbAbProgram",   "lbAbVersion",  "lbAbCopy",
                             "lbAbWarn",    "lbName",      "lbImPhone",     "lbImName",     "lbImBirth",
                             "lbRate",      "lbBit",       "lbStopBit",     "lbParity",     "lbControl",
                             "lbDateTimer", "lbTimeTimer", "lbFilterField", "lbFilterOper", "lbFilterValue"} +
                     numbered("Label", 1, 7) + numbered("lbImField", 1, 4)},
      {"TToolButton",
       {"tbImport", "tbExport", "tbFilter", "tbFields", "tbInsert", "tbEdit", "tbDelete", "tbTemplate",
        "tbTemplFields", "tbTimer", "tbStart", "tbRefresh"}},
      {"TMenuItem", {"MSExcel1", "CSV1", "N4", "N5", "pmCSV2", "pmMSOutlook", "pmEmail", "pmSave", "pmEdit"}},
      {"TButton",
       {"butCount", "butPrRef", "butSaveSh", "butRefresh", "butPort", "butAuto", "butApply", "butSave",
        "butSend", "butOK", "butCancel", "Button1", "Button2", "butTplRename", "butTplDel", "butTplClose"}},
      {"TGroupBox",
       {"gbxSelectGroup", "gbxOptions", "gbxTestMes", "gbxData", "gbxImport", "gbxSetCom", "gbxTimePar"}},
      {"TCheckBox",
       {"cbTranslit", "cbFlashAll", "cbAll", "cbGroup", "cbFlash", "cbGsm", "cbAnd", "cbOr", "cbTitle"}},
      {"TTabSheet", {"TS1", "TS2", "TS3", "TS4", "TSInter", "TSGSM", "TSOptions", "TS5", "TS6"}},
      {"TDBCheckBox", {"dbcbLog"}},
      {"TComboBox", {"cbxRate", "cbxBit", "cbxStopBit", "cbxParity", "cbxControl"}},
      {"Constant", constants},
      {"Fields", {"DSPHONE",   "DSNAME",     "DSBIRTHDATE", "DSDFIELD",   "DSEFIELD", "DSFFIELD", "DSGFIELD",
                  "DSSEND",    "DSDATESEND", "DSTIMESEND",  "DSPARTSEND", "DSFERROR", "DSGROUPS", "fPhone",
                  "fName",     "fBirthDate", "fField1",     "fField2",    "fField3",  "fField4",  "fSend",
                  "fDateSend", "fTimeSend",  "fPartSend",   "fError"}},
      {"Titles", pageKeys},
      {"MainText", pageKeys},
      {"Other", {"FieldTplName"}},
      {"Operations", {"opEqual", "opNotEqual", "opContains", "opGreater", "opLess"}},
  };
}

// Keys present with an empty value on purpose: the tool bar's separators carry no text, the
// clear buttons of the CSV import keep their cross, and the lists the program fills itself (ports, languages,
// fields, operators, file columns) must keep the program's items.
KeyList emptyKeys() {
  return {
      {"TToolButton", QStringList{"ToolButton1", "ToolButton3", "ToolButton7"} + numbered("sb", 1, 7)},
      {"TComboBox", QStringList{"cbxCOM", "cbxLang"} + numbered("ComboBox", 1, 10) + numbered("cbx", 1, 7)},
  };
}

// Controls of the windows whose text the program writes itself and that have no key: the
// "..." button of the log file, the status bar's panels, the live count beside the template.
KeyList ownTextControls() {
  return {
      {"TToolButton", {"sbLogFile"}},
      {"TLabel", {"StatusPanel0", "StatusPanel1", "lbCount"}},
  };
}

QSet<QString> keySet(const KeyList &list) {
  QSet<QString> set;
  for (const auto &[section, keys] : list)
    for (const QString &key : keys)
      set.insert(section.toLower() + '/' + key.toLower());
  return set;
}

QString shippedFile(const QString &lang) {
  return qEnvironmentVariable("BL_SOURCE_DIR") + "/langs/" + lang + ".ini";
}

// Every section/key line of a file, folded, in file order (repeats included).
QStringList keyLines(const QString &path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return {};
  QStringList keys;
  QString section;
  const QByteArray bytes = file.readAll(); // the lines are views into these bytes
  for (const auto &raw : text_lines::split(bytes)) {
    const QString line = cp1251::decode(raw.text).trimmed();
    if (line.startsWith('['))
      section = line.mid(1, line.indexOf(']') - 1).toLower();
    else if (line.contains('='))
      keys << section + '/' + line.left(line.indexOf('=')).trimmed().toLower();
  }
  return keys;
}

// The filter builder over the data sets of a closed data module: every control, no rows.
struct FilterBuilderParts {
  TDModule module;
  RecipientSelection selection;
  FilterCommands commands{module, selection};
};
class FilterBuilderWindow : private FilterBuilderParts, public TFFilter {
public:
  FilterBuilderWindow() : TFFilter(module.IBFields, module.IBOper, commands) {}
};

// The program's windows whose controls must all find a text; add each new window here.
using WindowFactory = std::function<std::unique_ptr<QWidget>()>;
QList<std::pair<QString, WindowFactory>> windows() {
  return {
      {"main window", [] { return std::make_unique<TFMain>(); }},
      {"contact dialog", [] { return std::make_unique<TFAddContact>(nullptr); }},
      {"group dialog", [] { return std::make_unique<TFAddGroup>(nullptr); }},
      {"template dialog", [] { return std::make_unique<TFAddTemplate>(nullptr, nullptr); }},
      {"template list", [] { return std::make_unique<TFListTemplate>("FListTemplate", nullptr); }},
      {"filter list", [] { return std::make_unique<TFListFilter>(nullptr); }},
      {"filter name dialog", [] { return std::make_unique<TFAddFilter>(nullptr); }},
      {"filter builder", [] { return std::make_unique<FilterBuilderWindow>(); }},
      {"port settings", [] { return std::make_unique<TFSetCom>(nullptr); }},
      {"CSV import",
       [] {
         static TDModule unopened; // the dialog only holds on to the data sets
         return std::make_unique<TFImportCSV>(unopened.KyvBase, unopened.IBGroups, unopened.IBContacts,
                                              Dialogs::instance(), LangConst());
       }},
      {"timer", [] { return std::make_unique<TFSetTimer>(QDateTime::currentDateTime()); }},
  };
}

} // namespace

class TestLangFiles : public QObject {
  Q_OBJECT

private slots:
  void languages_data();
  void fileFormat_data() { languages_data(); }
  void fileFormat();
  void listedKeys_data() { languages_data(); }
  void listedKeys();
  void bothLanguagesHaveTheSameKeys();
  void mainTextHasOneToThreeLines_data() { languages_data(); }
  void mainTextHasOneToThreeLines();
  void portSettingLists_data() { languages_data(); }
  void portSettingLists();
  void windowControls_data();
  void windowControls();
};

void TestLangFiles::languages_data() {
  QTest::addColumn<QString>("lang");
  QTest::newRow("Russian") << "Russian";
  QTest::newRow("English") << "English";
}

void TestLangFiles::fileFormat() {
  QFETCH(QString, lang);
  QFile file(shippedFile(lang));
  QVERIFY(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  for (const auto &line : text_lines::split(bytes))
    QVERIFY2(line.end == "\r\n", qPrintable("line without CR LF: " + cp1251::decode(line.text)));
  QVERIFY2(!bytes.startsWith("\xef\xbb\xbf"), "the file is UTF-8, not cp1251");
  QCOMPARE(cp1251::encode(cp1251::decode(bytes)), bytes);

  const QStringList keys = keyLines(shippedFile(lang));
  QCOMPARE(QSet<QString>(keys.begin(), keys.end()).size(), keys.size()); // no key twice
}

void TestLangFiles::listedKeys() {
  QFETCH(QString, lang);
  const IniFile ini(shippedFile(lang));
  for (const auto &[section, keys] : textKeys())
    for (const QString &key : keys)
      QVERIFY2(!ini.readString(section, key).trimmed().isEmpty(), qPrintable(section + '/' + key));
  for (const auto &[section, keys] : emptyKeys())
    for (const QString &key : keys)
      QVERIFY2(ini.hasKey(section, key) && ini.readString(section, key).isEmpty(),
               qPrintable(section + '/' + key + " must be present and empty"));
}

void TestLangFiles::bothLanguagesHaveTheSameKeys() {
  QStringList russian = keyLines(shippedFile("Russian"));
  QStringList english = keyLines(shippedFile("English"));
  QVERIFY(!russian.isEmpty());
  russian.sort();
  english.sort();
  QCOMPARE(english, russian);
}

void TestLangFiles::mainTextHasOneToThreeLines() {
  QFETCH(QString, lang);
  const IniFile ini(shippedFile(lang));
  for (const QString &page : pageKeys) {
    const QStringList lines = GetIniText(ini.readString("MainText", page)).split('\r');
    QVERIFY2(lines.size() >= 1 && lines.size() <= 3, qPrintable(page));
    for (const QString &line : lines)
      QVERIFY2(!line.trimmed().isEmpty(), qPrintable(page));
  }
  QCOMPARE(GetIniText(ini.readString("Constant", "stDelAllGroup")).count('\r'), 2);
}

// The port dialog finds the stored rate and data bits by their text and the other choices
// by position, so those lists must hold exactly these items in this order.
void TestLangFiles::portSettingLists() {
  QFETCH(QString, lang);
  const IniFile ini(shippedFile(lang));
  const auto items = [&](const char *key) {
    return ini.readString("TComboBox", key).split(QChar(4), Qt::SkipEmptyParts);
  };
  QCOMPARE(items("cbxRate"), QStringList({"110", "300", "600", "1200", "2400", "4800", "9600", "14400",
                                          "19200", "38400", "56000", "57600", "115200", "128000", "256000"}));
  QCOMPARE(items("cbxBit"), QStringList({"5", "6", "7", "8"}));
  QCOMPARE(items("cbxStopBit").size(), 3);
  QCOMPARE(items("cbxParity").size(), 5); // none, odd, even, mark, space
  QVERIFY(!items("cbxControl").isEmpty());
}

void TestLangFiles::windowControls_data() {
  QTest::addColumn<QString>("lang");
  QTest::addColumn<int>("window");
  const auto list = windows();
  for (int i = 0; i < list.size(); ++i)
    for (const char *lang : {"Russian", "English"})
      QTest::addRow("%s, %s", qPrintable(list[i].first), lang) << QString(lang) << i;
}

// Every control of the window that a language file addresses has a text there (or is one of
// the keys deliberately left empty).
void TestLangFiles::windowControls() {
  QFETCH(QString, lang);
  QFETCH(int, window);
  AppFolder folder;
  folder.copyShippedFiles();
  ScriptedDialogs dialogs;
  reloadLangFiles();
  CurrentLang() = lang;
  folder.writeText("kyv.ini", "[params]\r\nLang=" + lang + "\r\n");

  const auto widget = windows()[window].second();
  const IniFile ini(shippedFile(lang));
  const QSet<QString> empty = keySet(emptyKeys()) + keySet(ownTextControls());
  const QList<LanguageKey> keys = languageKeysOf(widget.get());
  QVERIFY(!keys.isEmpty());
  QStringList missing;
  for (const LanguageKey &k : keys)
    if (!empty.contains(k.section.toLower() + '/' + k.key.toLower()) &&
        ini.readString(k.section, k.key).isEmpty())
      missing << k.section + '/' + k.key;
  QVERIFY2(missing.isEmpty(), qPrintable("no text for " + missing.join(", ")));
  QVERIFY(!ini.readString("TForm", widget->objectName()).isEmpty());
  CurrentLang() = "Russian";
}

QTEST_MAIN(TestLangFiles)
#include "test_langfiles.moc"
