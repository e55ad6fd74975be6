// bench_contacts_grid: the contacts page of the main window over a group of 100,000
// contacts, each figure beside a baseline measured in the same run:
//  - choosing the big group in the groups grid until the contacts grid has painted its first
//    rows, against choosing a group of 100 contacts;
//  - scrolling down by dragging the scroll bar to its bottom again and again (each drag reads
//    the next batch): the cost of the last hundred drags against the first hundred (flat
//    means it stays responsive however many rows are already read);
//  - Ctrl+End from the first rows to the last contact against the data set reading all rows
//    with no grid;
//  - memory per row read with all 100,000 rows in the grid against with the first 10,000.
#include "app/TFMain.h"
#include "common/AppPaths.h"
#include "common/Dialogs.h"
#include "data/DatabaseCreator.h"
#include "data/Query.h"
#include "data/TDModule.h"
#include "data/Transaction.h"
#include "gui/base/RowDialogs.h"
#include "gui/contacts/ContactsPage.h"

#include "shared/LargeGroup.h"
#include "shared/Median.h"
#include "shared/SilentDialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <algorithm>
#include <unistd.h>
#include <vector>

namespace {

constexpr int bigGroup = 100000;
constexpr int smallGroup = 100;

long residentBytes() {
  QFile statm("/proc/self/statm");
  if (!statm.open(QIODevice::ReadOnly))
    return 0;
  const QList<QByteArray> parts = statm.readAll().split(' ');
  return parts.value(1).toLong() * sysconf(_SC_PAGESIZE);
}

double ms(const QElapsedTimer &t) {
  return double(t.nsecsElapsed()) / 1e6;
}

void fill(TDModule &module) {
  Transaction tr(module.KyvBase, Transaction::Ending::Commit);
  Query(tr, "INSERT INTO LISTGROUPS (ID, NAME) VALUES (1, 'Большая группа')").execute();
  Query(tr, "INSERT INTO LISTGROUPS (ID, NAME) VALUES (2, 'Малая группа')").execute();
  fillLargeGroup(tr, 1, bigGroup);
  fillLargeGroup(tr, 2, smallGroup);
  tr.commit();
}

// Chooses the group in the grid and paints the contacts grid; milliseconds.
double choose(TFMain &window, int row) {
  QTableView *groups = window.TS1->DBGridGroups;
  QTableView *contacts = window.TS1->DBGridContacts;
  QElapsedTimer t;
  t.start();
  groups->setCurrentIndex(groups->model()->index(row, 1));
  QCoreApplication::processEvents();
  contacts->viewport()->repaint();
  return ms(t);
}

} // namespace

int main(int argc, char **argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  SilentDialogs dialogs;
  Dialogs::install(&dialogs);
  QTemporaryDir dir;
  app_paths::overrideExecutableDir(dir.path());
  const QString path = dir.filePath("bench.fdb");
  DatabaseCreator::create(path, false);

  TDModule module;
  module.openAt(path);
  fill(module);
  module.openAt(path);

  RowDialogs rowDialogs(module);
  TFMain window(&module, &rowDialogs);
  window.resize(1280, 800);
  window.show();
  QCoreApplication::processEvents();
  QTableView *contacts = window.TS1->DBGridContacts;
  // Rows of the groups grid in the order the database returned them.
  int bigRow = module.IBGroups.locate("ID", 1) ? module.IBGroups.currentRow() : -1;
  int smallRow = module.IBGroups.locate("ID", 2) ? module.IBGroups.currentRow() : -1;

  std::vector<double> small, big;
  int readAtChoice = 0;
  for (int i = 0; i < 7; ++i) {
    small.push_back(choose(window, smallRow));
    big.push_back(choose(window, bigRow));
    readAtChoice = module.IBContacts.rowCount();
  }
  const double smallMs = median(small), bigMs = median(big);

  // Scrolling down as the operator would: the scroll bar dragged to its bottom, again and again.
  QScrollBar *bar = contacts->verticalScrollBar();
  const long before = residentBytes();
  long at10k = 0;
  std::vector<double> steps;
  while (module.IBContacts.canFetchMore()) {
    QElapsedTimer t;
    t.start();
    bar->setValue(bar->maximum());
    QCoreApplication::processEvents();
    contacts->viewport()->repaint();
    steps.push_back(ms(t));
    if (!at10k && module.IBContacts.rowCount() >= 10000)
      at10k = residentBytes();
  }
  const long atEnd = residentBytes();
  const int rowsAtEnd = module.IBContacts.rowCount();
  auto average = [](std::vector<double>::const_iterator from, std::vector<double>::const_iterator to) {
    double sum = 0;
    for (auto it = from; it != to; ++it)
      sum += *it;
    return sum / double(to - from);
  };
  const double firstSteps = average(steps.begin(), steps.begin() + 100);
  const double lastSteps = average(steps.end() - 100, steps.end());
  const double longestStep = *std::max_element(steps.begin(), steps.end());

  // Ctrl+End from the first rows of the group to its last contact.
  choose(window, smallRow);
  choose(window, bigRow);
  contacts->setFocus();
  QElapsedTimer jump;
  jump.start();
  QTest::keyClick(contacts, Qt::Key_End, Qt::ControlModifier);
  QCoreApplication::processEvents();
  contacts->viewport()->repaint();
  const double jumpMs = ms(jump);
  if (contacts->currentIndex().row() != bigGroup - 1)
    QTextStream(stderr) << "Ctrl+End stopped at row " << contacts->currentIndex().row() << '\n';

  // Its baseline: the data set alone reads every row of the group.
  module.IBContacts.close();
  module.IBContacts.open();
  QElapsedTimer bare;
  bare.start();
  module.IBContacts.fetchAll();
  const double fetchAllMs = ms(bare);

  const double perRow10k = double(at10k - before) / 10000.0;
  const double perRowEnd = double(atEnd - before) / double(rowsAtEnd);
  QTextStream out(stdout);
  out << "| benchmark | baseline | measured | ratio |\n|---|---|---|---|\n";
  out << QString(
             "| choosing the %1-contact group until its first rows are painted (%2 rows read; baseline: a "
             "%3-contact group) | %4 ms | %5 ms | %6 |\n")
             .arg(bigGroup)
             .arg(readAtChoice)
             .arg(smallGroup)
             .arg(smallMs, 0, 'f', 1)
             .arg(bigMs, 0, 'f', 1)
             .arg(bigMs / smallMs, 0, 'f', 2);
  out << QString(
             "| dragging the scroll bar to its bottom, average of the last 100 of %1 drags (baseline: the "
             "first 100; longest drag %2 ms) | %3 ms | %4 ms | %5 |\n")
             .arg(steps.size())
             .arg(longestStep, 0, 'f', 1)
             .arg(firstSteps, 0, 'f', 2)
             .arg(lastSteps, 0, 'f', 2)
             .arg(lastSteps / firstSteps, 0, 'f', 2);
  out << QString("| Ctrl+End from the first rows to the last of %1 contacts, painted (baseline: the data set "
                 "reading them all, no grid) | %2 ms | %3 ms | %4 |\n")
             .arg(bigGroup)
             .arg(fetchAllMs, 0, 'f', 0)
             .arg(jumpMs, 0, 'f', 0)
             .arg(jumpMs / fetchAllMs, 0, 'f', 2);
  out << QString(
             "| memory per row read, all %1 rows (baseline: the first 10,000 rows) | %2 B | %3 B | %4 |\n")
             .arg(rowsAtEnd)
             .arg(perRow10k, 0, 'f', 0)
             .arg(perRowEnd, 0, 'f', 0)
             .arg(perRowEnd / perRow10k, 0, 'f', 2);
  return 0;
}
