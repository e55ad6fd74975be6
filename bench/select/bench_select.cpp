// bench_select: how long until the contact list shows its first rows when a filter is
// applied to a group of 100,000 contacts, against showing the same group unfiltered, both
// measured in the same run through the data module. The list must keep reading on
// demand, so a filter costs about what it costs to find the first matching rows.
#include "common/Dialogs.h"
#include "data/DatabaseCreator.h"
#include "data/Query.h"
#include "data/TDModule.h"
#include "data/Transaction.h"
#include "select/FilterBuilder.h"
#include "select/FilterChoices.h"
#include "select/FilterCommands.h"
#include "select/RecipientSelection.h"

#include "shared/LargeGroup.h"
#include "shared/Median.h"
#include "shared/SilentDialogs.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

constexpr int bigGroup = 100000;
constexpr int rounds = 9;

QString built(const QStringList &fieldNames, std::initializer_list<FilterRow> rows, Conjunction conjunction) {
  FilterBuilder builder(fieldNames);
  int i = 0;
  for (const FilterRow &row : rows) {
    builder.setField(i, row.field);
    builder.setOperator(i, row.oper);
    builder.setValue(i++, row.value);
  }
  builder.cbOrClick(conjunction == Conjunction::Or);
  return builder.FormFilter();
}

} // namespace

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  SilentDialogs dialogs;
  Dialogs::install(&dialogs);
  QTemporaryDir dir;
  const QString path = dir.filePath("bench.fdb");
  DatabaseCreator::create(path, false);

  TDModule module;
  module.openAt(path);
  {
    Transaction tr(module.KyvBase, Transaction::Ending::Commit);
    Query(tr, "INSERT INTO LISTGROUPS (ID, NAME) VALUES (1, 'Большая группа')").execute();
    fillLargeGroup(tr, 1, bigGroup);
    tr.commit();
  }
  module.openAt(path);
  RecipientSelection selection;
  FilterCommands commands(module, selection);
  const QStringList fields = readFieldNames(module.IBFields);
  const int phone = int(fields.indexOf("PHONE")), name = int(fields.indexOf("NAME")),
            send = int(fields.indexOf("SEND"));

  struct Case {
    QString title;
    QString condition;
  };
  const std::vector<Case> cases{
      {"a phone containing 5 (about 1 contact in 2)",
       built(fields, {{phone, OpContains, "5"}}, Conjunction::And)},
      {"status equal to 1 (1 in 4)", built(fields, {{send, OpEqual, "1"}}, Conjunction::And)},
      {"name containing 77 or status 3, two rows joined by OR (about 1 in 4)",
       built(fields, {{name, OpContains, "77"}, {send, OpEqual, "3"}}, Conjunction::Or)},
  };

  int unfilteredRows = 0;
  const double unfiltered = medianMs(rounds, [&] {
    commands.BreakFiltClick();
    unfilteredRows = module.IBContacts.rowCount();
  });

  QTextStream out(stdout);
  out << "| benchmark | baseline | measured | ratio |\n|---|---|---|---|\n";
  for (const Case &c : cases) {
    int rows = 0;
    bool onDemand = true;
    const double filtered = medianMs(rounds, [&] {
      if (!commands.applyBuilt(c.condition))
        QTextStream(stderr) << "not applied: " << c.condition << '\n';
      rows = module.IBContacts.rowCount();
      onDemand = onDemand && module.IBContacts.canFetchMore();
    });
    out << QString("| applying a filter, %1, to the %2-contact group until the contact list holds its first "
                   "%3 rows%4 (baseline: the group unfiltered, %5 rows) | %6 ms | %7 ms | %8 |\n")
               .arg(c.title)
               .arg(bigGroup)
               .arg(rows)
               .arg(onDemand ? QString() : QString(", NOT reading on demand"))
               .arg(unfilteredRows)
               .arg(unfiltered, 0, 'f', 1)
               .arg(filtered, 0, 'f', 1)
               .arg(filtered / unfiltered, 0, 'f', 2);
  }
  // A saved filter chosen from the menu takes the same road.
  {
    Transaction tr(module.KyvBase, Transaction::Ending::Commit);
    Query q(tr, "INSERT INTO LISTFILT (ID, NAME, FILT) VALUES (1, 'phones with 5', :FILT)");
    q.setParam("FILT", cases.front().condition);
    q.execute();
    tr.commit();
  }
  const double saved = medianMs(rounds, [&] { commands.FilterClick(1); });
  out << QString("| choosing that first filter saved, from the filter menu, until its first rows are held "
                 "(baseline: the group unfiltered) | %1 ms | %2 ms | %3 |\n")
             .arg(unfiltered, 0, 'f', 1)
             .arg(saved, 0, 'f', 1)
             .arg(saved / unfiltered, 0, 'f', 2);
  return 0;
}
