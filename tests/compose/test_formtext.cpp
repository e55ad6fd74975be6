// Message generation against a real database: the placeholder table and column list from the
// field descriptors, the substitution rules of FormText, the recipient queries and counting.
#include "ComposeFixture.h"
#include "common/Cp1251.h"
#include "common/LangConstants.h"
#include "compose/FieldPlaceholders.h"
#include "compose/FormText.h"
#include "compose/MessageCount.h"
#include "compose/RecipientQuery.h"
#include "compose/Templates.h"
#include "compose/Translit.h"
#include "data/DatabaseError.h"
#include "gsm/GsmAlphabet.h"
#include "gsm/SmsSplit.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(RecipientScope)

namespace {
const QString allColumns = QStringLiteral(
    "PHONE, NAME, BIRTHDATE, DFIELD, EFIELD, FFIELD, GFIELD, SEND, DATESEND, TIMESEND, PARTSEND, FERROR, ID");

// The seed's template fields plus two that the seed keeps out of templates, so the integer
// and time rules can be seen too.
TMasNameValue testPlaceholders() {
  return {{0, "[TEL]"}, {1, "[NAM]"}, {2, "[BIR]"}, {3, "[FL1]"}, {7, "[SND]"}, {9, "[TMS]"}};
}
} // namespace

class TestFormText : public QObject {
  Q_OBJECT
  std::unique_ptr<ComposeFixture> f;

private slots:
  void initTestCase();
  void cleanupTestCase();

  void placeholdersFollowDescriptorOrder();
  void listFieldsNamesEveryDescriptorThenId();

  void formText_data();
  void formText();
  void everyRowGetsPhoneAndIdEvenWithoutPlaceholders();
  void refusesTextOutsideCp1251();
  void refusedTranslitTableMakesNoMessage();
  void databaseErrorPropagates();

  void recipientQuery_data();
  void recipientQuery();
  void groupScopeWithoutGroupIsRefusedByDatabase();

  void parts_data();
  void parts();
  void partsOfText_data();
  void partsOfText();
  void totalPartsAddsEveryMessage();

  void templateMenuEndsWithFixedItems_data();
  void templateMenuEndsWithFixedItems();
  void storedTemplateIsCutTo2000Characters();

  void emptyDescriptorsGiveEmptyColumnList(); // last: empties RB_FIELDS
};

void TestFormText::initTestCase() {
  QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
  f = std::make_unique<ComposeFixture>();
  f->addGroup(1, "Семья");
  f->addGroup(2, "Работа");
  f->addContact(1, 1, "+79001", "Иван", QDate(1980, 5, 17), "d1", 1, QTime(9, 5, 7));
  f->addContact(2, 1, "+79002", "[NAM]");                     // a name that is its own code; NULLs
  f->addContact(3, 2, "+79003", "x[BIR]", QDate(2001, 1, 2)); // a name holding a later code
  f->addContact(4, 2, QVariant(), "Анна");
}

void TestFormText::cleanupTestCase() {
  f.reset();
  QLocale::setDefault(QLocale::system());
}

void TestFormText::placeholdersFollowDescriptorOrder() {
  const FieldPlaceholders p = readFieldPlaceholders(f->db);
  const TMasNameValue expected{{0, "[TEL]"}, {1, "[NAM]"}, {2, "[BIR]"}, {3, "[FL1]"},
                               {4, "[FL2]"}, {5, "[FL3]"}, {6, "[FL4]"}};
  QCOMPARE(p.table.size(), expected.size());
  for (qsizetype i = 0; i < expected.size(); ++i) {
    QCOMPARE(p.table[i].Value, expected[i].Value);
    QCOMPARE(p.table[i].Name, expected[i].Name);
  }
  QCOMPARE(p.menu.size(), 7);
  QCOMPARE(p.menu.first().name, QString("MI_fPhone"));
  QCOMPARE(p.menu.first().captionKey, QString("fPhone"));
  QCOMPARE(p.menu.first().tag, 1);
  QCOMPARE(p.menu.last().name, QString("MI_fField4"));
  QCOMPARE(p.menu.last().tag, 7);
}

void TestFormText::listFieldsNamesEveryDescriptorThenId() {
  QCOMPARE(GetListFields(f->db), allColumns);
}

void TestFormText::formText_data() {
  QTest::addColumn<QString>("templ");
  QTest::addColumn<QString>("where");
  QTest::addColumn<bool>("translit");
  QTest::addColumn<QStringList>("expected");

  const QString first2 = " WHERE ID IN (1, 2)";
  QTest::newRow("no placeholders") << "Привет всем" << first2 << false
                                   << QStringList{"Привет всем", "Привет всем"};
  QTest::newRow("repeated placeholder") << "[NAM], [NAM]!"
                                        << " WHERE ID = 1" << false << QStringList{"Иван, Иван!"};
  QTest::newRow("several fields") << "[NAM] [TEL] [FL1]"
                                  << " WHERE ID = 1" << false << QStringList{"Иван +79001 d1"};
  QTest::newRow("name holding its own code") << "Hi [NAM]."
                                             << " WHERE ID = 2" << false << QStringList{"Hi [NAM]."};
  QTest::newRow("name holding a later code") << "[NAM]"
                                             << " WHERE ID = 3" << false << QStringList{"x02.01.2001"};
  QTest::newRow("date in short format") << "[BIR]"
                                        << " WHERE ID = 1" << false << QStringList{"17.05.1980"};
  QTest::newRow("NULL date is day zero") << "[BIR]"
                                         << " WHERE ID = 2" << false << QStringList{"30.12.1899"};
  QTest::newRow("integer") << "[SND]"
                           << " WHERE ID = 1" << false << QStringList{"1"};
  QTest::newRow("NULL integer is 0") << "[SND]"
                                     << " WHERE ID = 2" << false << QStringList{"0"};
  QTest::newRow("time in long format") << "[TMS]"
                                       << " WHERE ID = 1" << false << QStringList{"09:05:07"};
  QTest::newRow("NULL time is midnight") << "[TMS]"
                                         << " WHERE ID = 2" << false << QStringList{"00:00:00"};
  QTest::newRow("NULL text is empty") << "<[FL1]><[TEL]>"
                                      << " WHERE ID = 4" << false << QStringList{"<><>"};
  QTest::newRow("code case must match") << "[nam]"
                                        << " WHERE ID = 1" << false << QStringList{"[nam]"};
  QTest::newRow("empty result") << "[NAM]"
                                << " WHERE ID = -1" << false << QStringList{};
  QTest::newRow("transliteration on") << "Дорогой [NAM]"
                                      << " WHERE ID = 1" << true << QStringList{"Dorogoi Ivan"};
  QTest::newRow("template itself untouched by translit off")
      << "Дорогой [NAM]"
      << " WHERE ID = 1" << false << QStringList{"Дорогой Иван"};
}

void TestFormText::formText() {
  QFETCH(QString, templ);
  QFETCH(QString, where);
  QFETCH(bool, translit);
  QFETCH(QStringList, expected);

  TranslitTable table;
  table.parse(cp1251::encode(QString("Д-D\nо-o\nр-r\nг-g\nй-i\nИ-I\nв-v\nа-a\nн-n\n")));
  const TMasSMS sms = FormText(f->db, templ, "SELECT " + allColumns + " FROM CONTACTS" + where,
                               testPlaceholders(), translit ? &table : nullptr);
  QStringList texts;
  for (const TRecSMS &m : sms)
    texts.append(m.Text);
  QCOMPARE(texts, expected);
}

void TestFormText::everyRowGetsPhoneAndIdEvenWithoutPlaceholders() {
  const TMasSMS sms = FormText(f->db, "x", "SELECT " + allColumns + " FROM CONTACTS", {}, nullptr);
  QCOMPARE(sms.size(), 4);
  QList<QPair<QString, int>> got;
  for (const TRecSMS &m : sms) {
    QCOMPARE(m.Text, QString("x"));
    got.append({m.Phone, m.Id});
  }
  std::sort(got.begin(), got.end(), [](auto &a, auto &b) { return a.second < b.second; });
  const QList<QPair<QString, int>> expected{{"+79001", 1}, {"+79002", 2}, {"+79003", 3}, {"", 4}};
  QCOMPARE(got, expected);
}

void TestFormText::refusesTextOutsideCp1251() {
  const QList<std::pair<QString, QString>> cases{
      {"Привет ☺", "☺"}, {"ok \U0001F600", "\U0001F600"}, {"中", "中"}};
  for (const auto &[bad, character] : cases) {
    try {
      FormText(f->db, bad, "SELECT " + allColumns + " FROM CONTACTS", testPlaceholders(), nullptr);
      QFAIL("a text outside cp1251 was accepted");
    } catch (const TemplateTextError &e) {
      // The whole character, in the interface language.
      QCOMPARE(e.text(), LangConst().stCharTemplate.arg(character).arg(bad.indexOf(character) + 1));
    }
  }
  requireCp1251Text("Привет, [NAM]! № €"); // everything here has a place in cp1251
}

// A table whose file was refused makes no message at all, rather than untransliterated ones.
void TestFormText::refusedTranslitTableMakesNoMessage() {
  QTemporaryDir dir;
  QFile file(dir.filePath("Bad.trs"));
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(QString("в-v\r\n").toUtf8());
  file.close();
  TranslitTable table;
  QVERIFY_THROWS_EXCEPTION(TranslitFileError, table.load(file.fileName()));
  try {
    FormText(f->db, "Привет", "SELECT " + allColumns + " FROM CONTACTS", testPlaceholders(), &table);
    QFAIL("messages were made with a refused table");
  } catch (const TranslitFileError &e) {
    QCOMPARE(e.text(), table.refusal());
  }
  QCOMPARE(FormText(f->db, "x", "SELECT ID FROM CONTACTS WHERE ID = 1", {}, nullptr).size(), 1);
}

void TestFormText::databaseErrorPropagates() {
  QVERIFY_THROWS_EXCEPTION(DatabaseError, FormText(f->db, "x", "", {}, nullptr));
  QVERIFY_THROWS_EXCEPTION(DatabaseError,
                           FormText(f->db, "x", "SELECT ID FROM CONTACTS WHERE (NOSUCH = 1)", {}, nullptr));
  // The connection is still fine afterwards: the failed statement's transaction was released.
  QCOMPARE(FormText(f->db, "x", "SELECT ID FROM CONTACTS WHERE ID = 1", {}, nullptr).size(), 1);
}

void TestFormText::recipientQuery_data() {
  QTest::addColumn<RecipientScope>("scope");
  QTest::addColumn<QString>("filter");
  QTest::addColumn<QString>("expected");
  QTest::addColumn<QList<int>>("ids");

  const QString C = "SELECT " + allColumns + " FROM CONTACTS";
  const QString orFilter = "NAME = 'Иван' OR NAME = 'Анна'";
  QTest::newRow("all") << RecipientScope{true, false, {}} << "" << C << QList<int>{1, 2, 3, 4};
  QTest::newRow("all, filtered") << RecipientScope{true, false, {}} << orFilter
                                 << C + " WHERE (" + orFilter + ")" << QList<int>{1, 4};
  QTest::newRow("group") << RecipientScope{false, true, 2} << "" << C + " WHERE IDGROUP = 2"
                         << QList<int>{3, 4};
  // The parentheses keep an OR condition inside the group.
  QTest::newRow("group, filtered") << RecipientScope{false, true, 2} << orFilter
                                   << C + " WHERE IDGROUP = 2 AND (" + orFilter + ")" << QList<int>{4};
  QTest::newRow("both ticked: group wins")
      << RecipientScope{true, true, 1} << "" << C + " WHERE IDGROUP = 1" << QList<int>{1, 2};
}

void TestFormText::recipientQuery() {
  QFETCH(RecipientScope, scope);
  QFETCH(QString, filter);
  QFETCH(QString, expected);
  QFETCH(QList<int>, ids);
  const QString sql = ::recipientQuery(allColumns, scope, filter);
  QCOMPARE(sql, expected);
  QList<int> got = f->ids(sql);
  std::sort(got.begin(), got.end());
  QCOMPARE(got, ids);
  // The count covers the whole scope whatever the filter.
  QCOMPARE(countQuery(allColumns, scope), ::recipientQuery(allColumns, scope, QString()));
}

void TestFormText::groupScopeWithoutGroupIsRefusedByDatabase() {
  QCOMPARE(::recipientQuery(allColumns, RecipientScope{false, false, {}}, "NAME = 'x'"), QString());
  const QString noGroup = ::recipientQuery(allColumns, RecipientScope{false, true, {}}, QString());
  QVERIFY_THROWS_EXCEPTION(DatabaseError, FormText(f->db, "x", noGroup, {}, nullptr));
  QCOMPARE(firstContactQuery(allColumns), "SELECT FIRST 1 " + allColumns + " FROM CONTACTS");
  QCOMPARE(f->ids(firstContactQuery(allColumns)).size(), 1);
}

void TestFormText::parts_data() {
  QTest::addColumn<int>("length");
  QTest::addColumn<bool>("translit");
  QTest::addColumn<int>("parts");
  QTest::newRow("empty") << 0 << false << 1;
  QTest::newRow("64 Cyrillic") << 64 << false << 1;
  QTest::newRow("65 Cyrillic") << 65 << false << 2;
  QTest::newRow("128 Cyrillic") << 128 << false << 2;
  QTest::newRow("129 Cyrillic") << 129 << false << 3;
  QTest::newRow("140 translit") << 140 << true << 1;
  QTest::newRow("141 translit") << 141 << true << 2;
  QTest::newRow("280 translit") << 280 << true << 2;
  QTest::newRow("65 translit") << 65 << true << 1;
}

void TestFormText::parts() {
  QFETCH(int, length);
  QFETCH(bool, translit);
  QFETCH(int, parts);
  QCOMPARE(message_count::partsOf(length, message_count::partSize(translit)), qint64(parts));
}

void TestFormText::partsOfText_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<bool>("translit");
  QTest::addColumn<int>("parts");
  const QString a = QStringLiteral("a");
  QTest::newRow("bracket takes two septets: 141") << a.repeated(139) + "[" << true << 2;
  QTest::newRow("bracket within 140 septets") << a.repeated(138) + "[" << true << 1;
  QTest::newRow("euro takes two septets") << a.repeated(139) + QStringLiteral(u"€") << true << 2;
  QTest::newRow("280 septets of 140 brackets") << QStringLiteral("[").repeated(140) << true << 2;
  QTest::newRow("281 septets") << a + QStringLiteral("[").repeated(140) << true << 3;
  QTest::newRow("tab is one septet") << a.repeated(139) + "\t" << true << 1;
  QTest::newRow("grave accent is one septet") << a.repeated(139) + "`" << true << 1;
  // Outside the GSM alphabet the count stays in characters.
  QTest::newRow("guillemet left by the table: characters")
      << a.repeated(139) + QStringLiteral(u"«") << true << 1;
  QTest::newRow("not transliterated: characters") << a.repeated(63) + "[" << false << 1;
  QTest::newRow("empty") << QString() << true << 1;
}

void TestFormText::partsOfText() {
  QFETCH(QString, text);
  QFETCH(bool, translit);
  QFETCH(int, parts);
  QCOMPARE(message_count::partsOfText(text, translit), qint64(parts));
  // A transliterated 7-bit text counted as one part is one message for the modem, and back.
  if (translit && gsm_alphabet::isGsmText(text))
    QCOMPARE(sms_split::fitsOneMessage(text, true), parts == 1);
}

void TestFormText::totalPartsAddsEveryMessage() {
  const TMasSMS sms{{QString(65, u'ж'), {}, 1}, {QString(), {}, 2}, {QString(64, u'ж'), {}, 3}};
  QCOMPARE(message_count::totalParts(sms, false), qint64(4));
  QCOMPARE(message_count::totalParts(sms, true), qint64(3));
  QCOMPARE(message_count::totalParts({}, false), qint64(0));
  const TMasSMS latin{{QString(139, u'a') + u'[', {}, 1}, {QString(140, u'a'), {}, 2}};
  QCOMPARE(message_count::totalParts(latin, true), qint64(3));
  QCOMPARE(message_count::totalParts(latin, false), qint64(6));
}

void TestFormText::templateMenuEndsWithFixedItems_data() {
  QTest::addColumn<QList<int>>("ids");
  QTest::addColumn<QStringList>("names");
  QTest::newRow("no templates") << QList<int>{} << QStringList{"MI_Space", "MI_Save", "MI_Edit"};
  QTest::newRow("two templates") << QList<int>{7, 3}
                                 << QStringList{"MI_7", "MI_3", "MI_Space", "MI_Save", "MI_Edit"};
}

void TestFormText::templateMenuEndsWithFixedItems() {
  QFETCH(QList<int>, ids);
  QFETCH(QStringList, names);
  QList<templates::Saved> saved;
  for (int id : ids)
    saved.append({id, "T" + QString::number(id)});
  const auto items = templates::menuItems(saved, "Save", "Edit list");
  QStringList got;
  for (const auto &i : items)
    got.append(i.name);
  QCOMPARE(got, names);
  QCOMPARE(items[items.size() - 3].caption, QString("-"));
  QCOMPARE(items[items.size() - 2].caption, QString("Save"));
  QCOMPARE(items.last().caption, QString("Edit list"));
  for (qsizetype i = 0; i < ids.size(); ++i) {
    QCOMPARE(items[i].tag, ids[i]);
    QCOMPARE(items[i].caption, "T" + QString::number(ids[i]));
  }
}

void TestFormText::storedTemplateIsCutTo2000Characters() {
  QString text;
  for (int i = 0; i < 2100; ++i)
    text.append(QChar(u'а' + i % 32));
  f->exec("INSERT INTO TEMPLATE (ID, NAME, FTEXT) VALUES (5, 'long', :FTEXT)",
          {{"FTEXT", templates::textForStore(text)}});
  Transaction tr(f->db);
  QCOMPARE(templates::loadText(tr, 5), text.left(2000));
  QVERIFY_THROWS_EXCEPTION(DatabaseError, templates::loadText(tr, 999));
}

void TestFormText::emptyDescriptorsGiveEmptyColumnList() {
  f->exec("DELETE FROM RB_FIELDS");
  QCOMPARE(GetListFields(f->db), QString());
  QVERIFY(readFieldPlaceholders(f->db).table.isEmpty());
  // A query built on the empty list fails in the database and reaches the caller.
  QVERIFY_THROWS_EXCEPTION(DatabaseError, FormText(f->db, "x", "SELECT  FROM CONTACTS", {}, nullptr));
}

QTEST_GUILESS_MAIN(TestFormText)
#include "test_formtext.moc"
