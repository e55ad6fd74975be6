// The CSV import and the exports against bare database loops over the same rows, in the
// same run on the same database:
//   import: reading and importing a 100,000-line file into an empty group, against a
//           prepared insert run once per line with the same values (rows per second);
//   export: the CSV export (and, for the record, the spreadsheet export) of a
//           100,000-contact group with all twelve fields, against a bare fetch of the rows.
//   bench_exchange [lines]      (default 100000)
#include "common/Cp1251.h"
#include "common/Dialogs.h"
#include "common/LangConstants.h"
#include "data/Attachment.h"
#include "data/DatabaseCreator.h"
#include "data/Query.h"
#include "data/Transaction.h"
#include "exchange/ContactListQuery.h"
#include "exchange/CsvExport.h"
#include "exchange/CsvImporter.h"
#include "exchange/ExportField.h"
#include "exchange/ImportColumns.h"
#include "exchange/SpreadsheetExport.h"
#include "exchange/TwfCSV.h"

#include "shared/SilentDialogs.h"

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <time.h>

namespace {

int newGroup(Attachment &db) {
  Transaction tr(db, Transaction::Ending::Commit);
  Query id(tr, "SELECT GEN_ID(GEN_LISTGROUPS_ID, 1) FROM RDB$DATABASE");
  id.execute();
  const int group = id.value(0).toInt();
  Query insert(tr, "INSERT INTO LISTGROUPS (ID, NAME) VALUES (:ID, 'bench')");
  insert.setParam("ID", group);
  insert.execute();
  tr.commit();
  return group;
}

double cpuMs() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

// Wall-clock and process CPU milliseconds of one run (the embedded engine works in this
// process, so its CPU time counts too); best of the rounds for each.
struct Best {
  double wall = 1e300, cpu = 1e300;
  void run(const std::function<void()> &job) {
    QElapsedTimer t;
    const double c0 = cpuMs();
    t.start();
    job();
    wall = std::min(wall, double(t.nsecsElapsed()) / 1e6);
    cpu = std::min(cpu, cpuMs() - c0);
  }
};

} // namespace

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  const int lines = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
  const QLocale locale(QLocale::Russian, QLocale::Russia);
  QTemporaryDir dir;
  const QString path = dir.filePath("bench.fdb");
  DatabaseCreator::create(path);
  Attachment db;
  db.open(path);
  SilentDialogs dialogs;
  LangConstants texts;

  // The file: phone, name, birth date, two free fields; the same values for the bare loop.
  QByteArray file;
  QList<QStringList> values;
  QList<QDate> births;
  for (int i = 0; i < lines; ++i) {
    const QDate birth = QDate(1950, 1, 1).addDays(i % 20000);
    const QStringList v{QString("+7900%1").arg(i, 7, 10, QChar('0')), QString("Контакт номер %1").arg(i),
                        birth.toString("dd.MM.yyyy"), QString("Поле %1").arg(i),
                        QString("Город %1").arg(i % 100)};
    values << v;
    births << birth;
    file += cp1251::encode(v.join(',')) + "\r\n";
  }
  const QString csvPath = dir.filePath("import.csv");
  {
    QFile f(csvPath);
    if (!f.open(QIODevice::WriteOnly) || f.write(file) != file.size())
      return 1;
  }

  auto bareInsert = [&] {
    const int group = newGroup(db);
    Transaction tr(db, Transaction::Ending::Commit);
    Query insert(tr, CsvImporter::insertSql);
    insert.setParam("IDGROUP", group);
    insert.setParam("FFIELD", QVariant());
    insert.setParam("GFIELD", QVariant());
    for (int i = 0; i < lines; ++i) {
      const QStringList &v = values[i];
      insert.setParam("DFIELD", v[3]);
      insert.setParam("EFIELD", v[4]);
      insert.setParam("NAME", v[1]);
      insert.setParam("PHONE", v[0]);
      insert.setParam("BIRTHDATE", births[i]);
      insert.execute();
    }
    tr.commit();
  };
  auto import = [&] {
    const int group = newGroup(db);
    TwfCSV reader;
    reader.ReadFile(csvPath);
    ImportColumns columns = ImportColumns::defaults(std::min(reader.FieldCount, 26));
    columns.titleLine = false;
    if (CsvImporter(db, dialogs, texts, locale).run(reader, columns, group) != lines)
      std::abort();
  };
  const int rounds = 3;
  Best bare, imported;
  for (int r = 0; r < rounds; ++r) {
    // Alternate which side runs first, so a table that grows slows both alike.
    if (r % 2) {
      imported.run(import);
      bare.run(bareInsert);
    } else {
      bare.run(bareInsert);
      imported.run(import);
    }
  }
  if (dialogs.messages)
    return 1;

  // The export reads the last imported group: 100,000 contacts with every field but the
  // dispatch columns; give those values too.
  const int exportGroup = newGroup(db);
  {
    Transaction tr(db, Transaction::Ending::Commit);
    Query fill(tr,
               "INSERT INTO CONTACTS (ID, IDGROUP, PHONE, NAME, BIRTHDATE, DFIELD, EFIELD, FFIELD, GFIELD, "
               "SEND, DATESEND, TIMESEND, PARTSEND, FERROR) "
               "SELECT GEN_ID(GEN_CONTACTS_ID, 1), :G, PHONE, NAME, BIRTHDATE, DFIELD, EFIELD, 'Ф', 'G', "
               "1, DATE '2024-05-01', TIME '10:11:12', 2, 0 FROM CONTACTS WHERE IDGROUP = :LAST");
    fill.setParam("G", exportGroup);
    fill.setParam("LAST", exportGroup - 1);
    fill.execute();
    tr.commit();
  }
  const ContactListQuery list{"SELECT * FROM CONTACTS\nWHERE IDGROUP = :ID", {{"ID", exportGroup}}};
  QList<ExportField> fields;
  for (int k = 0; k < 12; ++k)
    fields.append({k, QString("F%1").arg(k)});
  qsizetype fetched = 0;
  auto bareFetch = [&] {
    Transaction tr(db, Transaction::Ending::Commit);
    Query q(tr, list.sql);
    q.setParam("ID", exportGroup);
    q.open();
    fetched = 0;
    while (q.fetch())
      fetched += q.row().size() > 0;
  };
  int written = 0;
  auto csvExport = [&] { written = csv_export::write(db, list, fields, dir.filePath("out.csv"), locale); };
  int sheetRows = 0;
  auto sheetExport = [&] {
    sheetRows = spreadsheet_export::write(db, list, fields, dir.filePath("out.xlsx"), "none");
  };
  Best fetch, csv, sheet;
  for (int r = 0; r < 5; ++r) {
    fetch.run(bareFetch);
    csv.run(csvExport);
    if (r < 3)
      sheet.run(sheetExport);
  }
  if (fetched != lines || written != lines || sheetRows != lines) {
    std::fprintf(stderr, "expected %d rows: fetched %lld, CSV %d, sheet %d\n", lines, (long long)fetched,
                 written, sheetRows);
    return 1;
  }

  auto rate = [&](double ms) { return lines / (ms / 1000); };
  std::printf("| measurement (%d lines/contacts) | baseline | measured | ratio |\n|---|---|---|---|\n",
              lines);
  std::printf("| CSV import, rows/s wall clock (baseline: bare prepared insert per line) | %.0f /s | %.0f /s "
              "| %.2f |\n",
              rate(bare.wall), rate(imported.wall), bare.wall / imported.wall);
  std::printf("| CSV import, rows/s of process CPU time (same baseline) | %.0f /s | %.0f /s | %.2f |\n",
              rate(bare.cpu), rate(imported.cpu), bare.cpu / imported.cpu);
  std::printf("| CSV export, 12 fields, wall clock (baseline: bare fetch) | %.0f ms | %.0f ms | %.2f |\n",
              fetch.wall, csv.wall, csv.wall / fetch.wall);
  std::printf("| CSV export, 12 fields, process CPU time (same baseline) | %.0f ms | %.0f ms | %.2f |\n",
              fetch.cpu, csv.cpu, csv.cpu / fetch.cpu);
  std::printf("| spreadsheet export, 12 fields, wall clock (same baseline) | %.0f ms | %.0f ms | %.2f |\n",
              fetch.wall, sheet.wall, sheet.wall / fetch.wall);
  std::printf(
      "| spreadsheet export, 12 fields, process CPU time (same baseline) | %.0f ms | %.0f ms | %.2f |\n",
      fetch.cpu, sheet.cpu, sheet.cpu / fetch.cpu);
  const bool ok = imported.wall <= bare.wall / 0.8 && csv.wall <= 2 * fetch.wall;
  std::printf("import >= 0.8 of the bare insert and CSV export <= 2x the bare fetch: %s\n",
              ok ? "yes" : "NO");
  return ok ? 0 : 2;
}
