// The address book import on a real contact database: the question first, then the file,
// then one contact per card in file order; refusals that store nothing and refusals that keep
// what came before.
#include "ExchangeTestFiles.h"
#include "ImportFixture.h"

#include "data/DatabaseError.h"
#include "exchange/AddressBookImport.h"
#include "exchange/StorableText.h"
#include "exchange/VCardError.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {
const QString nulls = QStringLiteral("|NULL|NULL|NULL|NULL|NULL|NULL|NULL|NULL|NULL|NULL");
}

class AddressBookImportTest : public QObject {
  Q_OBJECT

  std::unique_ptr<ImportFixture> f;
  QTemporaryDir dir;

  AddressBookImport importer() { return AddressBookImport(f->db, f->dialogs, f->texts); }
  QString writeCard(const QByteArray &bytes) {
    const QString path = dir.filePath(QStringLiteral("book.vcf"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
      qFatal("cannot write %s", qPrintable(path));
    return path;
  }

private slots:
  void init() { f = std::make_unique<ImportFixture>(); }
  void cleanup() { f.reset(); }

  void importsEachCardInFileOrder() {
    f->dialogs.confirmAnswers << true;
    f->dialogs.fileAnswers << exchangeDataPath(QStringLiteral("vcard/phone-export-2.1.vcf"));
    const AddressBookImport::Result result = importer().run(f->group, f->refresh);
    QCOMPARE(result.outcome, AddressBookImport::Outcome::Imported);
    QCOMPARE(result.contacts, 3);
    // The card without a mobile number gets an empty phone text, not NULL.
    QCOMPARE(f->contacts(f->group),
             (QStringList{QString::fromUtf8("+79001112233|Пётр") + nulls,
                          QStringLiteral("+79005556677|Anna") + nulls, QStringLiteral("|Office") + nulls}));
    QVERIFY(f->contacts(f->otherGroup).isEmpty());
    QCOMPARE(f->refreshes, 1);
    QCOMPARE(f->dialogs.waitCursorDepth, 0);

    const ScriptedDialogs::Shown &question = f->dialogs.shown.first();
    QCOMPARE(question.kind, QStringLiteral("confirm"));
    QCOMPARE(question.title, QStringLiteral("Brisklane"));
    QCOMPARE(question.text, f->texts.stQueryOutlook);
  }

  // Cancel at the question asks for no file; Cancel at the file dialog reads nothing.
  void cancelled_data() {
    QTest::addColumn<bool>("answer");
    QTest::newRow("question") << false;
    QTest::newRow("file dialog") << true;
  }
  void cancelled() {
    QFETCH(bool, answer);
    f->dialogs.confirmAnswers << answer;
    // A file ready for a dialog that must not open after Cancel, a cancelled dialog after OK.
    f->dialogs.fileAnswers << (answer ? QString()
                                      : exchangeDataPath(QStringLiteral("vcard/phone-export-2.1.vcf")));
    QCOMPARE(importer().run(f->group, f->refresh).outcome, AddressBookImport::Outcome::Cancelled);
    QCOMPARE(f->dialogs.fileAnswers.size(), answer ? 0 : 1);
    QVERIFY(f->contacts(f->group).isEmpty());
    QCOMPARE(f->refreshes, 0);
  }

  void emptyBookAddsNothingAndRefreshes() {
    f->dialogs.confirmAnswers << true;
    f->dialogs.fileAnswers << exchangeDataPath(QStringLiteral("vcard/empty.vcf"));
    QCOMPARE(importer().run(f->group, f->refresh).contacts, 0);
    QCOMPARE(f->refreshes, 1);
  }

  // Refused before the first insert: nothing stored, the contact list untouched.
  void refusedWhole_data() {
    QTest::addColumn<QByteArray>("card");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("mentions");
    QTest::newRow("broken file") << QByteArray(
                                        "BEGIN:VCARD\nN:A;B\nTEL;CELL:1\nEND:VCARD\nBEGIN:VCARD\nN:C;D\n")
                                 << "VCardError"
                                 << "line 5";
    QTest::newRow("name outside cp1251") << QByteArray("BEGIN:VCARD\nN:A;Bob\nTEL;CELL:1\nEND:VCARD\nBEGIN:"
                                                       "VCARD\nN:A;\xE5\xA4\xAA\xE9\x83\x8E\nTEL;CELL:2\n"
                                                       "END:VCARD\n")
                                         << "ImportTextError" << QString::fromUtf8("line 5 of");
    QTest::newRow("number outside cp1251") << QByteArray("BEGIN:VCARD\nN:A;Bob\nTEL;CELL:+7\xE2\x80\xAF"
                                                         "900\nEND:VCARD\n")
                                           << "ImportTextError"
                                           << "mobile number";
  }
  void refusedWhole() {
    QFETCH(QByteArray, card);
    QFETCH(QString, error);
    QFETCH(QString, mentions);
    f->dialogs.confirmAnswers << true;
    f->dialogs.fileAnswers << writeCard(card);
    try {
      importer().run(f->group, f->refresh);
      QFAIL("the address book was imported");
    } catch (const AppError &e) {
      QCOMPARE(e.className(), error);
      QVERIFY2(e.text().contains(mentions), qPrintable(e.text()));
    }
    QVERIFY(f->contacts(f->group).isEmpty());
    QCOMPARE(f->refreshes, 0);
    QCOMPARE(f->dialogs.waitCursorDepth, 0);
  }

  // A name longer than NAME holds is refused by the database at its card: the cards before it
  // stay and the list shows them.
  void longNameStopsAtItsCard() {
    const QByteArray longName(51, 'x');
    f->dialogs.confirmAnswers << true;
    f->dialogs.fileAnswers << writeCard("BEGIN:VCARD\nN:A;First\nTEL;CELL:1\nEND:VCARD\n"
                                        "BEGIN:VCARD\nN:A;" +
                                        longName +
                                        "\nTEL;CELL:2\nEND:VCARD\nBEGIN:VCARD\nN:A;Third\nEND:VCARD\n");
    QVERIFY_THROWS_EXCEPTION(DatabaseError, importer().run(f->group, f->refresh));
    QCOMPARE(f->phonesAndNames(f->group), QStringList{QStringLiteral("1|First")});
    QCOMPARE(f->refreshes, 1);
    QCOMPARE(f->dialogs.waitCursorDepth, 0);
  }
};

QTEST_GUILESS_MAIN(AddressBookImportTest)
#include "test_exchange_addressbook.moc"
