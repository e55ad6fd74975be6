// bench_data_open: how long until the contacts data set shows the first rows of a group of
// 100,000 contacts, against a bare client fetch of the same rows in the same run; and the
// full read of the group both ways, to show what reading on demand saves. Then the same
// opening over a private Firebird server on the loopback address against the embedded engine,
// to tell operators what a server costs.
#include "data/Attachment.h"
#include "data/DatabaseCreator.h"
#include "data/DatabaseError.h"
#include "data/Query.h"
#include "data/TDModule.h"
#include "data/Transaction.h"
#include "support/LocalFirebirdServer.h"

#include "shared/Median.h"

#include <firebird/Interface.h>
#include <ibase.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

constexpr int groupSize = 100000;
constexpr int firstRows = 100; // what the data set reads at open
constexpr int repeats = 5;

// The baseline: the client's own interfaces, no wrapper: attach, prepare, fetch `rows` rows.
int bareFetch(const QByteArray &path, int rows) {
  using namespace Firebird;
  IMaster *master = fb_get_master_interface();
  ThrowStatusWrapper st(master->getStatus());
  IProvider *prov = master->getDispatcher();
  IXpbBuilder *dpb = master->getUtilInterface()->getXpbBuilder(&st, IXpbBuilder::DPB, nullptr, 0);
  dpb->insertString(&st, isc_dpb_user_name, DbLogin::defaults().user.toLatin1().constData());
  dpb->insertString(&st, isc_dpb_password, DbLogin::defaults().password.toLatin1().constData());
  dpb->insertString(&st, isc_dpb_lc_ctype, "WIN1251");
  IAttachment *att =
      prov->attachDatabase(&st, path.constData(), dpb->getBufferLength(&st), dpb->getBuffer(&st));
  const unsigned char tpb[] = {isc_tpb_version3, isc_tpb_read_committed, isc_tpb_rec_version, isc_tpb_nowait};
  ITransaction *tra = att->startTransaction(&st, sizeof tpb, tpb);
  IStatement *stmt = att->prepare(&st, tra, 0, "SELECT * FROM CONTACTS WHERE IDGROUP = 1", SQL_DIALECT_V6,
                                  IStatement::PREPARE_PREFETCH_METADATA);
  IMessageMetadata *meta = stmt->getOutputMetadata(&st);
  std::vector<unsigned char> buffer(meta->getMessageLength(&st));
  IResultSet *rs = stmt->openCursor(&st, tra, nullptr, nullptr, meta, 0);
  int n = 0;
  while (n < rows && rs->fetchNext(&st, buffer.data()) == IStatus::RESULT_OK)
    ++n;
  rs->close(&st);
  meta->release();
  stmt->free(&st);
  tra->commit(&st);
  att->detach(&st);
  dpb->dispose();
  st.dispose();
  prov->release();
  return n;
}

void fillGroup(const QString &path) {
  Attachment att;
  att.open(path);
  Transaction tr(att, Transaction::Ending::Commit);
  Query group(tr, "insert into LISTGROUPS (ID, NAME) values (1, 'Большая группа')");
  group.execute();
  Query insert(tr, "insert into CONTACTS (ID, IDGROUP, PHONE, NAME, BIRTHDATE, DFIELD, SEND, FERROR) "
                   "values (:ID, 1, :PHONE, :NAME, :BIRTHDATE, :DFIELD, :SEND, 0)");
  for (int i = 1; i <= groupSize; ++i) {
    insert.setParam("ID", i);
    insert.setParam("PHONE", QStringLiteral("+7900%1").arg(i, 7, 10, QChar('0')));
    insert.setParam("NAME", QStringLiteral("Контакт номер %1").arg(i));
    insert.setParam("BIRTHDATE", QDate(1960, 1, 1).addDays(i % 15000));
    insert.setParam("DFIELD", QStringLiteral("Город %1").arg(i % 100));
    insert.setParam("SEND", i % 3 + 1);
    insert.execute();
  }
}

} // namespace

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  QTextStream out(stdout);
  QTemporaryDir dir;
  if (qEnvironmentVariableIsEmpty("FIREBIRD_LOCK"))
    qputenv("FIREBIRD_LOCK", dir.filePath("lock").toLocal8Bit());
  const QString path = dir.filePath("bench.fdb");
  try {
    DatabaseCreator::create(path);
    QElapsedTimer fill;
    fill.start();
    fillGroup(path);
    out << "Inserted " << groupSize << " contacts in one transaction: " << fill.elapsed() << " ms\n\n";

    const QByteArray file = path.toLocal8Bit();
    int shown = 0;
    const double bareFirst = medianMs(repeats, [&] { bareFetch(file, firstRows); });
    const double moduleFirst = medianMs(repeats, [&] {
      TDModule module;
      module.openAt(path);
      shown = module.IBContacts.rowCount();
    });
    const double bareAll = medianMs(repeats, [&] { bareFetch(file, groupSize); });
    int all = 0;
    const double moduleAll = medianMs(repeats, [&] {
      TDModule module;
      module.openAt(path);
      module.IBContacts.fetchAll();
      all = module.IBContacts.rowCount();
    });

    out << "Rows shown at open: " << shown << "; rows after reading all: " << all << " (median of " << repeats
        << " runs)\n\n";
    out << "| Benchmark | Baseline | Baseline ms | Measured ms | Ratio |\n|---|---|---|---|---|\n";
    auto row = [&](const char *name, const char *baseline, double base, double measured) {
      out << "| " << name << " | " << baseline << " | " << QString::number(base, 'f', 1) << " | "
          << QString::number(measured, 'f', 1) << " | " << QString::number(measured / base, 'f', 2) << " |\n";
    };
    row("data module open, first contact rows shown", "bare client: attach + first 100 rows", bareFirst,
        moduleFirst);
    row("data module open, all 100,000 rows read", "bare client: attach + all 100,000 rows", bareAll,
        moduleAll);
    row("data module open, first rows vs all rows", "data module, all 100,000 rows", moduleAll, moduleFirst);

    // The same database file, copied while nothing has it open, opened through the server.
    qputenv("BL_SOURCE_DIR", BL_BENCH_SOURCE_DIR);
    qputenv("BL_FBSERVER_BIN", BL_BENCH_FBSERVER_BIN);
    LocalFirebirdServer server;
    const QString copy = dir.filePath("server.fdb");
    if (!QFile::copy(path, copy))
      throw DatabaseError(QStringLiteral("cannot copy the database for the server"));
    const QString location = server.location(copy);
    int serverShown = 0, serverAll = 0;
    const double serverFirst = medianMs(repeats, [&] {
      TDModule module;
      module.openAt(location);
      serverShown = module.IBContacts.rowCount();
    });
    const double serverWhole = medianMs(repeats, [&] {
      TDModule module;
      module.openAt(location);
      module.IBContacts.fetchAll();
      serverAll = module.IBContacts.rowCount();
    });
    const double serverBareFirst = medianMs(repeats, [&] { bareFetch(location.toLocal8Bit(), firstRows); });
    auto attachOnly = [](const QString &where) {
      return medianMs(repeats, [&] {
        Attachment att;
        att.open(where);
        att.close();
      });
    };
    const double embeddedAttach = attachOnly(path), serverAttach = attachOnly(location);
    out << "\nOver the loopback server: rows shown at open " << serverShown << ", after reading all "
        << serverAll
        << "\n\n| Benchmark | Baseline | Baseline ms | Measured ms | Ratio |\n|---|---|---|---|---|\n";
    row("data module open over the loopback server, first contact rows shown",
        "the same on the embedded engine", moduleFirst, serverFirst);
    row("data module open over the loopback server, all 100,000 rows read", "the same on the embedded engine",
        moduleAll, serverWhole);
    row("bare client over the loopback server: attach + first 100 rows", "the same on the embedded engine",
        bareFirst, serverBareFirst);
    row("attach and detach alone over the loopback server (login, wire encryption)",
        "the same on the embedded engine", embeddedAttach, serverAttach);
  } catch (const AppError &e) {
    QTextStream(stderr) << "bench_data_open: " << e.text() << "\n";
    return 1;
  } catch (const Firebird::FbException &) {
    QTextStream(stderr) << "bench_data_open: the bare client fetch failed\n";
    return 1;
  } catch (const std::runtime_error &e) { // the server did not start
    QTextStream(stderr) << "bench_data_open: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
