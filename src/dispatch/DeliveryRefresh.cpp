#include "dispatch/DeliveryRefresh.h"

#include "data/DatabaseError.h"
#include "data/Query.h"
#include "data/Transaction.h"

#include <QList>

namespace {

const QString selectContacts = QStringLiteral("SELECT ID, IDMESSAGE\nFROM CONTACTS");
const QString markDelivered = QStringLiteral("UPDATE CONTACTS\nSET SEND = 3\nWHERE ID = :ID");

struct Contact {
  QVariant id;
  qint32 messageId; // 0 when no message went out through the gateway
};

// The whole list is read first: a cursor would end with the first commit of a mark.
QList<Contact> readContacts(Transaction &transaction) {
  QList<Contact> contacts;
  Query query(transaction, selectContacts);
  query.open();
  while (query.fetch())
    contacts.append({query.value(0), query.value(1).isNull() ? 0 : query.value(1).toInt()});
  transaction.commit();
  return contacts;
}

} // namespace

bool DeliveryRefresh::isDelivered(const ArrayOfAnyType &answer) {
  return answer.size() >= 2 && answer.at(1) == QLatin1String("st_deliver");
}

DeliveryRefresh::Outcome DeliveryRefresh::run() {
  Outcome outcome;
  Transaction transaction(connection_, Transaction::Ending::Commit);
  try {
    const QList<Contact> contacts = readContacts(transaction);
    const std::unique_ptr<GatewayProxy> proxy = CreateGatewayProxy();
    Query update(transaction, markDelivered);
    for (const Contact &contact : contacts) {
      if (stop_ && stop_->load()) {
        outcome.interrupted = true;
        break;
      }
      ArrayOfAnyType answer;
      ++outcome.asked;
      try {
        answer = proxy->VerifySMSStatus(contact.messageId);
      } catch (const std::exception &) {
        ++outcome.failedCalls; // counts as an empty answer
      }
      if (!isDelivered(answer))
        continue;
      update.setParam(QStringLiteral("ID"), contact.id);
      update.execute();
      transaction.commit();
      ++outcome.marked;
    }
  } catch (const DatabaseErrorBase &e) {
    outcome.databaseError = e.text();
    try {
      transaction.rollback(); // only the failed statement is left in it
    } catch (const std::exception &) {
    }
  }
  return outcome;
}
