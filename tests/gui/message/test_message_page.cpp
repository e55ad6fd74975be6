// The message and preview pages over a real database: field and template menus, the template
// dialogs, the sample, the full preview and the count, over the recipient selection.
#include "common/Cp1251.h"
#include "common/LangConstants.h"
#include "compose/FieldPlaceholders.h"
#include "compose/FormText.h"
#include "compose/Translit.h"
#include "data/DatabaseError.h"
#include "data/Query.h"
#include "data/TDModule.h"
#include "gui/base/FieldNotices.h"
#include "gui/base/RowDialogs.h"
#include "gui/base/TFParentAdd.h"
#include "gui/message/MessageController.h"
#include "gui/message/MessagePage.h"
#include "gui/message/PreviewPage.h"
#include "gui/message/TFAddTemplate.h"
#include "gui/message/TFListTemplate.h"
#include "gui/message/TemplateEditorStatus.h"
#include "select/RecipientSelection.h"
#include "support/AppFolder.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>

#include <functional>
#include <memory>

namespace {
// Answers the next modal dialog once it is open: fills in the name and presses OK or Cancel.
void answerTemplateDialog(const QString &name, bool ok, QString *caption = nullptr) {
  QTimer::singleShot(0, [=] {
    auto *dialog = qobject_cast<TFAddTemplate *>(QApplication::activeModalWidget());
    QVERIFY(dialog);
    if (caption)
      *caption = dialog->windowTitle();
    dialog->DBEdit1->setText(name);
    (ok ? dialog->butOK : dialog->butCancel)->click();
  });
}
} // namespace

class TestMessagePage : public QObject {
  Q_OBJECT
  std::unique_ptr<AppFolder> folder;
  std::unique_ptr<TestDatabase> database;
  std::unique_ptr<TDModule> dm;
  std::unique_ptr<RowDialogs> rows;
  std::unique_ptr<RecipientSelection> selection;
  std::unique_ptr<ScriptedDialogs> dialogs;
  std::unique_ptr<MessagePage> page;
  std::unique_ptr<PreviewPage> preview;
  std::unique_ptr<MessageController> c;

  void exec(const QString &sql) {
    Transaction tr(dm->KyvBase, Transaction::Ending::Commit);
    Query(tr, sql).execute();
  }
  QVariant one(const QString &sql) {
    Transaction tr(dm->KyvBase, Transaction::Ending::Commit);
    Query q(tr, sql);
    q.open();
    return q.fetch() ? q.value(0) : QVariant();
  }
  QStringList menuNames(QMenu *menu) {
    QStringList names;
    for (QAction *a : menu->actions())
      names.append(a->objectName());
    return names;
  }

private slots:
  void init();
  void cleanup();

  void fieldMenuIsBuiltFromDescriptors();
  void fieldItemInsertsOnlyWhileEditorHasFocus_data();
  void fieldItemInsertsOnlyWhileEditorHasFocus();
  void templateMenuIsRebuiltAndEndsWithFixedItems();
  void savingStoresFirst2000CharactersAndLoadsBack();
  void savingRefusesTextOutsideCp1251();
  void savingWithoutNameSaysTheNameIsRequired();
  void renamingFromListReplacesNameAndText();
  void deletingFromListAsksFirst();
  void previewListsFilteredRecipientsWhileCountCoversScope();
  void previewKeepsContentOnEmptyTemplateOrError();
  void sampleIsFirstContactWhateverScope();
  void countShowsTotalParts_data();
  void countShowsTotalParts();
  void previewFollowsTheChosenGroup();
  void editorCountFlagsUnencodableText();
};

void TestMessagePage::init() {
  folder = std::make_unique<AppFolder>();
  folder->copyShippedFiles();
  CurrentLang() = "Russian";
  LoadLangConst("Russian");
  translitTable().clear();
  database = std::make_unique<TestDatabase>();
  dm = std::make_unique<TDModule>();
  dm->openAt(database->path());
  dialogs = std::make_unique<ScriptedDialogs>();
  rows = std::make_unique<RowDialogs>(*dm);
  exec("INSERT INTO LISTGROUPS (ID, NAME) VALUES (1, 'Семья')");
  exec("INSERT INTO LISTGROUPS (ID, NAME) VALUES (5, 'Работа')");
  exec("INSERT INTO CONTACTS (ID, IDGROUP, PHONE, NAME) VALUES (1, 1, '+7901', 'Иван')");
  exec("INSERT INTO CONTACTS (ID, IDGROUP, PHONE, NAME) VALUES (2, 5, '+7902', 'Анна')");
  exec("INSERT INTO CONTACTS (ID, IDGROUP, PHONE, NAME) VALUES (3, 5, '+7903', 'Борис')");
  dm->IBGroups.close();
  dm->IBGroups.open();
  page = std::make_unique<MessagePage>();
  preview = std::make_unique<PreviewPage>();
  selection = std::make_unique<RecipientSelection>();
  c = std::make_unique<MessageController>(page.get(), preview.get(), dm.get(), rows.get(), *selection);
  c->buildFieldMenu();
}

void TestMessagePage::cleanup() {
  c.reset();
  page.reset();
  preview.reset();
  dialogs.reset();
  rows.reset();
  dm.reset();
  database.reset();
  folder.reset();
  placeholderTable().clear();
}

void TestMessagePage::fieldMenuIsBuiltFromDescriptors() {
  QCOMPARE(menuNames(page->PMFields), (QStringList{"MI_fPhone", "MI_fName", "MI_fBirthDate", "MI_fField1",
                                                   "MI_fField2", "MI_fField3", "MI_fField4"}));
  QAction *name = page->PMFields->actions()[1];
  QCOMPARE(name->text(), langText("Russian", "Fields", "fName"));
  QVERIFY(!name->text().isEmpty());
  QCOMPARE(name->property("tag").toInt(), 2);
  QCOMPARE(placeholderTable().size(), 7);
}

void TestMessagePage::fieldItemInsertsOnlyWhileEditorHasFocus_data() {
  QTest::addColumn<bool>("focused");
  QTest::addColumn<QString>("expected");
  QTest::newRow("editor focused: selection replaced") << true << "Hi [NAM]!";
  QTest::newRow("focus elsewhere: nothing changes") << false << "Hi you!";
}

void TestMessagePage::fieldItemInsertsOnlyWhileEditorHasFocus() {
  QFETCH(bool, focused);
  QFETCH(QString, expected);
  page->show();
  QVERIFY(QTest::qWaitForWindowActive(page.get()));
  page->mmTemplate->setPlainText("Hi you!");
  QTextCursor cursor = page->mmTemplate->textCursor();
  cursor.setPosition(3);
  cursor.setPosition(6, QTextCursor::KeepAnchor);
  page->mmTemplate->setTextCursor(cursor);
  (focused ? static_cast<QWidget *>(page->mmTemplate) : page->butCount)->setFocus();
  QTRY_COMPARE(page->mmTemplate->hasFocus(), focused);
  c->DymanicClick(page->PMFields->actions()[1]);
  QCOMPARE(page->mmTemplate->toPlainText(), expected);
}

void TestMessagePage::templateMenuIsRebuiltAndEndsWithFixedItems() {
  c->PMTemplatePopup();
  QCOMPARE(menuNames(page->PMTemplate), (QStringList{"MI_Space", "MI_Save", "MI_Edit"}));
  QVERIFY(page->PMTemplate->actions()[0]->isSeparator());
  QCOMPARE(page->PMTemplate->actions()[1]->text(), langText("Russian", "TMenuItem", "pmSave"));
  QCOMPARE(page->PMTemplate->actions()[2]->text(), langText("Russian", "TMenuItem", "pmEdit"));

  exec("INSERT INTO TEMPLATE (ID, NAME, FTEXT) VALUES (3, 'Первый', 'один')");
  exec("INSERT INTO TEMPLATE (ID, NAME, FTEXT) VALUES (7, 'Второй', 'два')");
  dm->IBTemplate.refresh();
  c->PMTemplatePopup();
  const QStringList names = menuNames(page->PMTemplate);
  QCOMPARE(names.size(), 5);
  QCOMPARE(names.mid(2), (QStringList{"MI_Space", "MI_Save", "MI_Edit"}));
  QCOMPARE(QSet<QString>(names.begin(), names.begin() + 2), (QSet<QString>{"MI_3", "MI_7"}));
  QAction *second = page->PMTemplate->findChild<QAction *>("MI_7");
  QCOMPARE(second->text(), QString("Второй"));
  c->TemplateClick(second);
  QCOMPARE(page->mmTemplate->toPlainText(), QString("два"));
}

void TestMessagePage::savingStoresFirst2000CharactersAndLoadsBack() {
  QString text;
  for (int i = 0; i < 2100; ++i)
    text.append(QChar(u'а' + i % 32));
  page->mmTemplate->setPlainText(text);
  QString caption;
  answerTemplateDialog("Длинный", true, &caption);
  c->N4Click();
  QCOMPARE(caption, langText("Russian", "TForm", "FAddTemplate") + " [" + LangConst().stNew + "]");
  QCOMPARE(dm->IBTemplate.state(), DataSet::State::Browse);
  const int id = one("SELECT ID FROM TEMPLATE WHERE NAME = 'Длинный'").toInt();
  QVERIFY(id > 0);
  QCOMPARE(one("SELECT FTEXT FROM TEMPLATE WHERE ID = " + QString::number(id)).toString(), text.left(2000));
  // Stored cut, and said so: the editor by its label, the length kept, the length written.
  const QString editor = field_notices::plainCaption(langText("Russian", "TLabel", "lbTempl"));
  QVERIFY(!editor.isEmpty());
  QCOMPARE(dialogs->messageTexts(), QStringList{GetIniText(LangConst().stCut.arg(editor, "2000", "2100"))});

  page->mmTemplate->clear();
  c->PMTemplatePopup();
  c->TemplateClick(page->PMTemplate->findChild<QAction *>("MI_" + QString::number(id)));
  QCOMPARE(page->mmTemplate->toPlainText(), text.left(2000));

  // Cancel discards the new row.
  answerTemplateDialog("Отменённый", false);
  c->N4Click();
  QVERIFY(!one("SELECT ID FROM TEMPLATE WHERE NAME = 'Отменённый'").isValid());
}

void TestMessagePage::savingRefusesTextOutsideCp1251() {
  page->mmTemplate->setPlainText("Привет ☺");
  QVERIFY_THROWS_EXCEPTION(TemplateTextError, c->N4Click());
  QCOMPARE(dm->IBTemplate.state(), DataSet::State::Browse);
  QCOMPARE(one("SELECT COUNT(*) FROM TEMPLATE").toInt(), 0);
}

// A template without a name: the name field is required, said in the interface language;
// the dialog stays open until the operator names it or cancels.
void TestMessagePage::savingWithoutNameSaysTheNameIsRequired() {
  page->mmTemplate->setPlainText("Привет");
  bool stayedOpen = false;
  QTimer::singleShot(0, [&] {
    auto *dialog = qobject_cast<TFAddTemplate *>(QApplication::activeModalWidget());
    QVERIFY(dialog);
    dialog->DBEdit1->clear();
    dialog->butOK->click();
    stayedOpen = dialog->isVisible();
    dialog->butCancel->click();
  });
  c->N4Click();
  QVERIFY(stayedOpen);
  const QString name = field_notices::plainCaption(langText("Russian", "TLabel", "Label1"));
  QCOMPARE(dialogs->messageTexts(), QStringList{GetIniText(LangConst().stRequired.arg(name))});
  QCOMPARE(one("SELECT COUNT(*) FROM TEMPLATE").toInt(), 0);
}

void TestMessagePage::renamingFromListReplacesNameAndText() {
  exec("INSERT INTO TEMPLATE (ID, NAME, FTEXT) VALUES (4, 'Старое', 'старый текст')");
  dm->IBTemplate.refresh();
  page->mmTemplate->setPlainText("новый текст [NAM]");
  TFListTemplate list("FListTemplate", &dm->IBTemplate);
  QCOMPARE(list.DBTemplGrid->model()->headerData(1, Qt::Horizontal).toString().isEmpty(), false);
  dm->IBTemplate.locate("ID", 4);
  QString caption;
  answerTemplateDialog("Новое", true, &caption);
  list.butTplRenameClick();
  QVERIFY(caption.endsWith(" [" + LangConst().stEdit + "]"));
  QCOMPARE(one("SELECT NAME FROM TEMPLATE WHERE ID = 4").toString(), QString("Новое"));
  QCOMPARE(one("SELECT FTEXT FROM TEMPLATE WHERE ID = 4").toString(), QString("новый текст [NAM]"));
}

void TestMessagePage::deletingFromListAsksFirst() {
  exec("INSERT INTO TEMPLATE (ID, NAME, FTEXT) VALUES (4, 'Шаблон', 'текст')");
  dm->IBTemplate.refresh();
  TFListTemplate list("FListTemplate", &dm->IBTemplate);
  dm->IBTemplate.locate("ID", 4);
  dialogs->confirmAnswers.enqueue(false);
  try {
    list.butTplDelClick();
  } catch (const SilentAbort &) {
  }
  QCOMPARE(dm->IBTemplate.rowCount(), 1);
  QCOMPARE(dialogs->shown.last().text, LangConst().stDelTemplate);
  QCOMPARE(dialogs->shown.last().title, LangConst().stDel);
  dialogs->confirmAnswers.enqueue(true);
  list.butTplDelClick();
  QCOMPARE(dm->IBTemplate.rowCount(), 0);
}

void TestMessagePage::previewListsFilteredRecipientsWhileCountCoversScope() {
  page->mmTemplate->setPlainText("[NAM]");
  selection->setCurrentFilter("NAME = 'Иван' OR NAME = 'Борис'");
  c->TS3Show();
  QTRY_VERIFY(!c->previewFilling());
  QStringList lines = preview->mmPreviewAll->toPlainText().split('\n');
  lines.sort();
  QCOMPARE(lines, (QStringList{"Борис", "Иван"}));
  c->butCountClick();
  QCOMPARE(dialogs->shown.last().text, LangConst().stCountSMS + " 3");
  QCOMPARE(dialogs->shown.last().title, QString("Brisklane"));
}

void TestMessagePage::previewKeepsContentOnEmptyTemplateOrError() {
  preview->mmPreviewAll->setPlainText("before");
  c->TS3Show(); // empty template
  QCOMPARE(preview->mmPreviewAll->toPlainText(), QString("before"));
  page->mmTemplate->setPlainText("x");
  selection->setCurrentFilter("NOSUCHCOLUMN = 1");
  QVERIFY_THROWS_EXCEPTION(DatabaseError, c->TS3Show());
  QCOMPARE(preview->mmPreviewAll->toPlainText(), QString("before"));
  // Group scope without a group: refused by the database, outputs unchanged.
  selection->cbGroupClick(true, QVariant());
  QVERIFY_THROWS_EXCEPTION(DatabaseError, c->TS3Show());
  QVERIFY_THROWS_EXCEPTION(DatabaseError, c->butCountClick());
  QCOMPARE(preview->mmPreviewAll->toPlainText(), QString("before"));
}

void TestMessagePage::sampleIsFirstContactWhateverScope() {
  page->mmTemplate->setPlainText("Дорогой [NAM]");
  selection->cbGroupClick(true, 5);
  selection->setCurrentFilter("ID = 3");
  c->butPrRefClick();
  const QString first =
      FormText(dm->KyvBase, "Дорогой [NAM]",
               "SELECT FIRST 1 " + GetListFields(dm->KyvBase) + " FROM CONTACTS", placeholderTable(), nullptr)
          .first()
          .Text;
  QCOMPARE(page->mmPreview->toPlainText(), first);
  // Ticking transliteration rewrites the sample; clearing it makes it again from the template.
  translitTable().parse(
      cp1251::encode(QString("Д-D\nо-o\nр-r\nг-g\nй-i\nИ-I\nв-v\nа-a\nн-n\nА-A\nБ-B\nи-i\nс-s")));
  page->cbTranslit->click();
  QVERIFY(!page->mmPreview->toPlainText().contains(u'Д'));
  QVERIFY(page->mmPreview->toPlainText().startsWith("Dorogoi "));
  page->cbTranslit->click();
  QCOMPARE(page->mmPreview->toPlainText(), first);
}

void TestMessagePage::countShowsTotalParts_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<bool>("translit");
  QTest::addColumn<int>("total");
  const QString z = QStringLiteral("z");
  const QString zh = QStringLiteral(u"ж");
  // three contacts in all groups
  QTest::newRow("64 Cyrillic") << zh.repeated(64) << false << 3;
  QTest::newRow("65 Cyrillic") << zh.repeated(65) << false << 6;
  QTest::newRow("128 Cyrillic") << zh.repeated(128) << false << 6;
  QTest::newRow("140 transliterated") << z.repeated(140) << true << 3;
  QTest::newRow("141 transliterated") << z.repeated(141) << true << 6;
  // The modem sends a transliterated text in the GSM alphabet, where "[" takes two septets.
  QTest::newRow("140 transliterated with a bracket: 141 septets") << z.repeated(139) + "[" << true << 6;
  QTest::newRow("139 transliterated with a bracket: 140 septets") << z.repeated(138) + "[" << true << 3;
  QTest::newRow("140 transliterated with a tab: sent as a blank") << z.repeated(139) + "\t" << true << 3;
  QTest::newRow("64 Cyrillic with a bracket: characters") << zh.repeated(63) + "[" << false << 3;
}

void TestMessagePage::countShowsTotalParts() {
  QFETCH(QString, text);
  QFETCH(bool, translit);
  QFETCH(int, total);
  page->mmTemplate->setPlainText(text);
  page->cbTranslit->setChecked(translit);
  c->butCountClick();
  QCOMPARE(dialogs->shown.last().text, LangConst().stCountSMS + " " + QString::number(total));
  // The editor's count beside the template agrees, for the one message of the template.
  auto *count = page->findChild<QLabel *>("lbCount");
  QVERIFY(count);
  QCOMPARE(count->text(), QStringLiteral("%1 / %2 SMS").arg(text.size()).arg(total / 3));
}

void TestMessagePage::previewFollowsTheChosenGroup() {
  selection->cbGroupClick(true, 5);
  selection->setCurrentFilter("NAME = 'Анна'");
  QVERIFY(c->recipientQueryText().endsWith(" FROM CONTACTS WHERE IDGROUP = 5 AND (NAME = 'Анна')"));
  page->mmTemplate->setPlainText("[TEL]");
  c->TS3Show();
  QTRY_VERIFY(!c->previewFilling());
  QCOMPARE(preview->mmPreviewAll->toPlainText(), QString("+7902"));
}

void TestMessagePage::editorCountFlagsUnencodableText() {
  auto *count = page->findChild<QLabel *>("lbCount");
  QVERIFY(count);
  page->mmTemplate->setPlainText(QString(65, u'ж'));
  QCOMPARE(count->text(), QString("65 / 2 SMS"));
  QCOMPARE(count->property("unencodable").toInt(), 0);
  page->mmTemplate->setPlainText("ok ☺ \U0001F600");
  QCOMPARE(count->property("unencodable").toInt(), 2);
  // Each such character is marked red, the surrogate pair as one.
  QList<std::pair<int, int>> marked;
  for (const QTextLayout::FormatRange &r : page->mmTemplate->document()->firstBlock().layout()->formats())
    if (r.format.background().color() == Qt::red)
      marked.append({r.start, r.length});
  QCOMPARE(marked, (QList<std::pair<int, int>>{{3, 1}, {5, 2}}));

  // Typing on keeps the figures of every line: only the lines typed into are looked at again.
  page->mmTemplate->setPlainText(QString(64, u'ж') + "\n" + QString(10, u'ж') + "中");
  QCOMPARE(count->text(), QString("76 / 2 SMS"));
  QCOMPARE(count->property("unencodable").toInt(), 1);
  QTextCursor end(page->mmTemplate->document());
  end.movePosition(QTextCursor::End);
  end.deletePreviousChar();
  QCOMPARE(count->text(), QString("75 / 2 SMS"));
  QCOMPARE(count->property("unencodable").toInt(), 0);
  end.movePosition(QTextCursor::Start);
  end.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  end.removeSelectedText(); // the first line emptied
  QCOMPARE(count->text(), QString("11 / 1 SMS"));
  end.insertText("a\nb\nc");
  QCOMPARE(count->text(), QString("16 / 1 SMS"));
  QCOMPARE(count->text(), TemplateEditorStatus::countText(page->mmTemplate->toPlainText(), false));
  page->cbTranslit->setChecked(true);
  QCOMPARE(count->text(), TemplateEditorStatus::countText(page->mmTemplate->toPlainText(), true));
}

QTEST_MAIN(TestMessagePage)
#include "test_message_page.moc"
