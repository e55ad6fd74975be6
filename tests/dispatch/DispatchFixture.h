#pragma once
// What the dispatch tests share: a fresh contact database, the executable folder whose
// kyv.ini points the gateway client at a local gateway, gateway answers, a window that
// records what a run shows, and reads of the status columns.
#include "LocalGateway.h"

#include "common/AppPaths.h"
#include "compose/FieldPlaceholders.h"
#include "data/Attachment.h"
#include "data/Query.h"
#include "data/Transaction.h"
#include "dispatch/DispatchWindow.h"
#include "support/AppFolder.h"
#include "support/ContactTable.h"
#include "support/TestDatabase.h"

#include <QDateTime>
#include <QStringList>
#include <QVariantList>

#include <functional>
#include <mutex>
#include <optional>

namespace dispatch_test {

inline const QString testNamespace = QStringLiteral("http://sms.test/ns");

// A SendSMS answer with these items.
inline QByteArray sendAnswer(const QList<int> &items) {
  QByteArray ints;
  for (int i : items)
    ints += "<int>" + QByteArray::number(i) + "</int>";
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
         "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body><SendSMSResponse "
         "xmlns=\"http://sms.test/ns\"><SendSMSResult>" +
         ints + "</SendSMSResult></SendSMSResponse></soap:Body></soap:Envelope>";
}

inline CannedAnswer accepted(const QList<int> &items) {
  return {200, "OK", "text/xml; charset=utf-8", sendAnswer(items)};
}

inline CannedAnswer fault(const QByteArray &text) {
  return {500, "Internal Server Error", "text/xml; charset=utf-8",
          "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
          "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body><soap:Fault>"
          "<faultcode>soap:Server</faultcode><faultstring>" +
              text + "</faultstring></soap:Fault></soap:Body></soap:Envelope>"};
}

// The text of an element of a request body (no markup inside).
inline QString element(const QByteArray &body, const QByteArray &name) {
  const qsizetype start = body.indexOf("<" + name + ">");
  const qsizetype end = body.indexOf("</" + name + ">");
  if (start < 0 || end < start)
    return {};
  const qsizetype from = start + name.size() + 2;
  return QString::fromUtf8(body.mid(from, end - from));
}

// A window that records the run's steps and answers its reads from fields the test sets.
// The hooks run on the run's thread, inside the step.
class RecordingWindow : public DispatchWindow {
public:
  RunInputs inputs;
  RecipientInputs recipient;
  std::function<void()> onStarted;
  std::function<void(int lineIndex)> onLine; // after the line is recorded
  std::function<void()> onRecipientRead;

  QStringList events() const {
    std::lock_guard lock(mutex_);
    return events_;
  }
  QStringList lines() const {
    std::lock_guard lock(mutex_);
    return lines_;
  }
  std::optional<RunEnd> end() const {
    std::lock_guard lock(mutex_);
    return end_;
  }
  int busyDepth() const {
    std::lock_guard lock(mutex_);
    return busy_;
  }

  void setBusy(bool on) override {
    note(on ? "busy" : "normal");
    std::lock_guard lock(mutex_);
    busy_ += on ? 1 : -1;
  }
  void reopenContacts() override { note("reopen"); }
  RunInputs runInputs() override { return inputs; }
  RecipientInputs recipientInputs() override {
    if (onRecipientRead)
      onRecipientRead();
    return recipient;
  }
  void RunStarted(int messageCount) override {
    note(QStringLiteral("started %1").arg(messageCount));
    if (onStarted)
      onStarted();
  }
  void RecipientDone(const QString &line) override {
    int index = 0;
    {
      std::lock_guard lock(mutex_);
      events_ << QStringLiteral("line");
      lines_ << line;
      index = int(lines_.size()) - 1;
    }
    if (onLine)
      onLine(index);
  }
  void RunFinished(const RunEnd &end) override {
    note(QStringLiteral("finished %1%2").arg(end.portError).arg(end.stopRequested ? " stopped" : ""));
    std::lock_guard lock(mutex_);
    end_ = end;
  }

private:
  void note(const QString &event) {
    std::lock_guard lock(mutex_);
    events_ << event;
  }
  mutable std::mutex mutex_;
  QStringList events_;
  QStringList lines_;
  std::optional<RunEnd> end_;
  int busy_ = 0;
};

// The status columns of one contact: SEND, DATESEND, TIMESEND, PARTSEND, FERROR, IDMESSAGE.
using Status = QVariantList;

struct DispatchDatabase {
  TestDatabase database;
  Attachment db;

  DispatchDatabase() { db.open(database.path()); }

  void exec(const QString &sql, const QVariantMap &params = {}) { ContactTable(db).execute(sql, params); }

  void addGroup(int id, const QString &name = QStringLiteral("group")) {
    exec(QStringLiteral("INSERT INTO LISTGROUPS (ID, NAME) VALUES (:ID, :NAME)"),
         {{"ID", id}, {"NAME", name}});
  }

  // A contact with an earlier outcome in every status column, so every change shows.
  void addContact(int id, int group, const QString &phone, const QString &name) {
    exec(QStringLiteral(
             "INSERT INTO CONTACTS (ID, IDGROUP, PHONE, NAME, SEND, DATESEND, TIMESEND, PARTSEND, "
             "FERROR, IDMESSAGE) VALUES (:ID, :IDGROUP, :PHONE, :NAME, 3, '2001-02-03', '04:05:06', 9, "
             "7, 99)"),
         {{"ID", id}, {"IDGROUP", group}, {"PHONE", phone}, {"NAME", name}});
  }

  // count contacts from firstId on in one transaction; phone: "79" + the ID in nine digits.
  void addContacts(int group, int firstId, int count) {
    Transaction tr(db, Transaction::Ending::Commit);
    Query q(tr, QStringLiteral(
                    "INSERT INTO CONTACTS (ID, IDGROUP, PHONE, NAME, SEND, DATESEND, TIMESEND, "
                    "PARTSEND, FERROR, IDMESSAGE) VALUES (:ID, :IDGROUP, :PHONE, :NAME, 3, '2001-02-03', "
                    "'04:05:06', 9, 7, 99)"));
    for (int id = firstId; id < firstId + count; ++id) {
      q.setParam(QStringLiteral("ID"), id);
      q.setParam(QStringLiteral("IDGROUP"), group);
      q.setParam(QStringLiteral("PHONE"), phoneOf(id));
      q.setParam(QStringLiteral("NAME"), QStringLiteral("Name%1").arg(id));
      q.execute();
    }
    tr.commit();
  }
  static QString phoneOf(int id) { return QStringLiteral("79%1").arg(id, 9, 10, QLatin1Char('0')); }

  static Status earlier() { return {3, QDate(2001, 2, 3), QTime(4, 5, 6), 9, 7, 99}; }

  Status status(int id) {
    Transaction tr(db, Transaction::Ending::Commit);
    Query q(tr, QStringLiteral("SELECT SEND, DATESEND, TIMESEND, PARTSEND, FERROR, IDMESSAGE FROM CONTACTS "
                               "WHERE ID = :ID"));
    q.setParam(QStringLiteral("ID"), id);
    q.execute();
    Status s;
    for (const QVariant &v : q.row())
      s << (v.isNull() ? QVariant() : v);
    return s;
  }

  void setPause(int seconds) { exec(QStringLiteral("UPDATE RB_OPTIONS SET GSMTIME = :T"), {{"T", seconds}}); }
};

// The inputs of a run over all groups with the given template, placeholders from the database.
inline RunInputs runInputs(Attachment &db, const QString &templateText,
                           int channel = dispatch_channel::Gateway, int portNumber = 0) {
  RunInputs in;
  in.templateText = templateText;
  in.placeholders = readFieldPlaceholders(db).table;
  in.channel = channel;
  in.portNumber = portNumber;
  return in;
}

inline RecipientScope groupScope(int id) {
  return {false, true, id};
}

// The executable folder with a kyv.ini that names the local gateway.
inline void pointAt(AppFolder &folder, const QString &url) {
  folder.writeText(QStringLiteral("kyv.ini"),
                   QStringLiteral("[gateway]\r\nUrl=%1\r\nNamespace=%2\r\n").arg(url, testNamespace));
}

inline void keepTrafficLocal() {
  qputenv("no_proxy", "127.0.0.1,localhost");
  qputenv("NO_PROXY", "127.0.0.1,localhost");
}

} // namespace dispatch_test
