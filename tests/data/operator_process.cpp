// One operator's program, driven line by line on standard input: the data module opened from
// the per-user settings (DBName, DBUser, DBPassword) and the program's own cores doing what
// the operator's windows and workers do. Every command answers one line on standard output:
// "ok[ DATA]" or "error[ lock] TEXT" (the client's text, its line breaks as " | ").
//
//   open                      open the data module
//   group NAME                add a group as the confirmed group dialog does; it becomes current
//   current NAME              make the group of that name the current one
//   groups / contacts         names of the groups / ID:NAME:PHONE:SEND of the current group's
//                             contacts, both as the data sets hold them now, sorted
//   reopen                    read both lists again
//   edit ID FIELD=VALUE...    edit a contact and confirm, as the contact dialog does; when the
//                             post fails the row stays in edit mode (the dialog stays open)
//   retry / cancel            confirm the open edit again / cancel it
//   import FILE               CSV import (phone, name) into the current group
//   status-begin              a delivery-refresh pass: its private transaction and statement
//   status ID                 mark one contact delivered in that pass
//   status-end                end the pass, committing its updates
//   reset                     the dispatch's reset of every contact, committed at once
//   dispatch-start FOLDER     a gateway dispatch over the current group with the template
//                             "[NAM]", the gateway named by FOLDER/kyv.ini; it runs on a worker
//                             thread, as in the program, and the answer comes at once
//   dispatch-wait             waits for that run's end: "ok N" with N result lines shown, or
//                             the error that ended it
#include "common/AppPaths.h"
#include "common/LangConstants.h"
#include "compose/FieldPlaceholders.h"
#include "data/DatabaseError.h"
#include "data/Query.h"
#include "data/TDModule.h"
#include "data/Transaction.h"
#include "dispatch/DispatchRun.h"
#include "exchange/CsvImporter.h"
#include "exchange/ImportColumns.h"
#include "exchange/TwfCSV.h"
#include "support/ScriptedDialogs.h"

#include <QCoreApplication>
#include <QStringList>

#include <atomic>
#include <exception>
#include <iostream>
#include <memory>
#include <string>
#include <thread>

namespace {

// The dispatch page without its widgets: the run's inputs fixed when it starts.
class QuietWindow : public DispatchWindow {
public:
  explicit QuietWindow(RunInputs inputs) : inputs_(std::move(inputs)) {}
  std::atomic<int> lines{0};

  void setBusy(bool) override {}
  void reopenContacts() override {}
  RunInputs runInputs() override { return inputs_; }
  RecipientInputs recipientInputs() override {
    return {QStringLiteral("login"), QStringLiteral("password"), false};
  }
  void RunStarted(int) override {}
  void RecipientDone(const QString &) override { ++lines; }
  void RunFinished(const RunEnd &) override {}

private:
  RunInputs inputs_;
};

class Operator {
public:
  ~Operator() {
    if (worker_.joinable()) // the program waits for its worker before it closes
      worker_.join();
  }

  QString run(const QString &command, const QStringList &args) {
    if (command == u"open")
      module_.open();
    else if (command == u"group")
      addGroup(args.join(u' '));
    else if (command == u"current")
      return module_.IBGroups.locate(QStringLiteral("NAME"), args.join(u' ')) ? QString()
                                                                              : fail("no such group");
    else if (command == u"groups")
      return names(module_.IBGroups, {QStringLiteral("NAME")});
    else if (command == u"contacts")
      return names(module_.IBContacts, {QStringLiteral("ID"), QStringLiteral("NAME"), QStringLiteral("PHONE"),
                                        QStringLiteral("SEND")});
    else if (command == u"reopen") {
      module_.IBGroups.refresh();
      module_.IBContacts.refresh();
    } else if (command == u"edit")
      edit(args);
    else if (command == u"retry")
      confirm();
    else if (command == u"cancel")
      module_.IBContacts.cancel();
    else if (command == u"import")
      return QString::number(import(args.value(0)));
    else if (command == u"status-begin")
      beginStatusPass();
    else if (command == u"status")
      markDelivered(args.value(0).toInt());
    else if (command == u"status-end")
      endStatusPass();
    else if (command == u"reset")
      reset();
    else if (command == u"dispatch-start")
      startDispatch(args.value(0));
    else if (command == u"dispatch-wait")
      return QString::number(waitForDispatch());
    else
      return fail("unknown command");
    return QString();
  }

private:
  static QString fail(const char *text) { throw DatabaseError(QString::fromLatin1(text)); }

  void addGroup(const QString &name) {
    module_.IBGroups.append();
    module_.IBGroups.setValue(QStringLiteral("NAME"), name);
    module_.IBGroups.post();
    module_.IBTrGroups.commitRetaining();
  }

  // The contact dialog: the fields set, then OK (post and commit-retaining).
  void edit(const QStringList &args) {
    DataSet &contacts = module_.IBContacts;
    if (!contacts.locate(QStringLiteral("ID"), args.value(0).toInt()))
      fail("no such contact");
    contacts.edit();
    for (const QString &pair : args.mid(1)) {
      const qsizetype eq = pair.indexOf(u'=');
      contacts.setValue(pair.left(eq), pair.mid(eq + 1));
    }
    confirm();
  }

  void confirm() {
    module_.IBContacts.post();
    module_.IBTrContacts.commitRetaining();
    module_.IBContacts.refreshCurrentRow();
  }

  int import(const QString &file) {
    TwfCSV reader;
    reader.ReadFile(file);
    ImportColumns columns;
    columns.titleLine = false;
    columns.column[ImportColumns::Phone] = 0;
    columns.column[ImportColumns::Name] = 1;
    CsvImporter importer(module_.KyvBase, dialogs_, texts_);
    return importer.run(reader, columns, module_.IBGroups.value(QStringLiteral("ID")));
  }

  void beginStatusPass() {
    pass_ = std::make_unique<Transaction>(module_.KyvBase, Transaction::Ending::Commit);
    delivered_ =
        std::make_unique<Query>(*pass_, QStringLiteral("UPDATE CONTACTS\nSET SEND = 3\nWHERE ID = :ID"));
  }
  void markDelivered(int id) {
    if (!delivered_)
      fail("no status pass");
    delivered_->setParam(QStringLiteral("ID"), id);
    delivered_->execute();
  }
  void endStatusPass() {
    delivered_.reset();
    if (pass_)
      pass_->commit();
    pass_.reset();
  }

  void reset() {
    Transaction run(module_.KyvBase, Transaction::Ending::Rollback);
    Query q(run,
            QStringLiteral("UPDATE CONTACTS\nSET SEND = 2, DATESEND = NULL, TIMESEND = NULL, PARTSEND = 0, "
                           "FERROR = 0"));
    q.execute();
    run.commit();
  }

  void startDispatch(const QString &folder) {
    if (worker_.joinable())
      fail("a dispatch is running");
    app_paths::overrideExecutableDir(folder);
    RunInputs inputs;
    inputs.templateText = QStringLiteral("[NAM]");
    inputs.placeholders = readFieldPlaceholders(module_.KyvBase).table;
    inputs.scope = {false, true, module_.IBGroups.value(QStringLiteral("ID"))};
    window_ = std::make_unique<QuietWindow>(inputs);
    run_ = std::make_unique<DispatchRun>(module_.KyvBase, *window_);
    runFailure_ = nullptr;
    worker_ = std::thread([this] {
      try {
        run_->perform();
      } catch (...) {
        runFailure_ = std::current_exception();
      }
    });
  }
  int waitForDispatch() {
    if (!worker_.joinable())
      fail("no dispatch is running");
    worker_.join();
    if (runFailure_)
      std::rethrow_exception(runFailure_);
    return window_->lines;
  }

  static QString names(DataSet &ds, const QStringList &fields) {
    ds.fetchAll();
    QStringList rows;
    for (int r = 0; r < ds.rowCount(); ++r) {
      QStringList values;
      for (const QString &f : fields)
        values << ds.value(r, ds.fieldIndex(f)).toString();
      rows << values.join(u':');
    }
    // Keys sort as numbers: pad them for the text sort.
    std::sort(rows.begin(), rows.end(), [](const QString &a, const QString &b) {
      return a.section(u':', 0, 0).rightJustified(12, u'0') < b.section(u':', 0, 0).rightJustified(12, u'0');
    });
    return rows.join(u';');
  }

  TDModule module_;
  ScriptedDialogs dialogs_;
  LangConstants texts_;
  std::unique_ptr<Transaction> pass_;
  std::unique_ptr<Query> delivered_;
  std::unique_ptr<QuietWindow> window_;
  std::unique_ptr<DispatchRun> run_;
  std::thread worker_;
  std::exception_ptr runFailure_;
};

} // namespace

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  Operator op;
  std::string line;
  while (std::getline(std::cin, line)) {
    const QStringList words = QString::fromUtf8(line).split(u' ', Qt::SkipEmptyParts);
    if (words.isEmpty())
      continue;
    if (words[0] == u"quit")
      break;
    QString reply;
    try {
      const QString data = op.run(words[0], words.mid(1));
      reply = data.isEmpty() ? QStringLiteral("ok") : QStringLiteral("ok ") + data;
    } catch (const DatabaseError &e) {
      reply = (e.isLockConflict() ? QStringLiteral("error lock ") : QStringLiteral("error ")) + e.text();
    } catch (const AppError &e) {
      reply = QStringLiteral("error ") + e.text();
    } catch (const std::exception &e) {
      reply = QStringLiteral("error ") + QString::fromLocal8Bit(e.what());
    }
    reply.replace(u'\n', QStringLiteral(" | "));
    std::cout << reply.toUtf8().constData() << std::endl;
  }
  return 0;
}
