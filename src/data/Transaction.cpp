#include "data/Transaction.h"

#include "data/Attachment.h"
#include "data/FbClient.h"

#include <ibase.h>

using namespace Firebird;

namespace {
const unsigned char transactionParameters[] = {isc_tpb_version3, isc_tpb_write, isc_tpb_read_committed,
                                               isc_tpb_rec_version, isc_tpb_nowait};
}

Transaction::Transaction(Attachment &attachment, Ending ending) : attachment_(attachment), ending_(ending) {
  attachment_.registerTransaction(this);
}

Transaction::~Transaction() {
  endForDisconnect();
  attachment_.unregisterTransaction(this);
}

ITransaction *Transaction::handle() {
  if (!transaction_) {
    IAttachment *att = attachment_.handle();
    transaction_ = fb::call([&](ThrowStatusWrapper *st) {
      return att->startTransaction(st, sizeof transactionParameters, transactionParameters);
    });
  }
  return transaction_;
}

void Transaction::finished() {
  transaction_ = nullptr; // commit and rollback release the interface on success
  ++generation_;
}

void Transaction::commit() {
  if (!transaction_)
    return;
  fb::call([&](ThrowStatusWrapper *st) { transaction_->commit(st); });
  finished();
}

void Transaction::commitRetaining() {
  if (!transaction_)
    return;
  fb::call([&](ThrowStatusWrapper *st) { transaction_->commitRetaining(st); });
}

void Transaction::rollback() {
  if (!transaction_)
    return;
  fb::call([&](ThrowStatusWrapper *st) { transaction_->rollback(st); });
  finished();
}

void Transaction::end() {
  switch (ending_) {
  case Ending::Commit:
    commit();
    break;
  case Ending::CommitRetaining:
    commitRetaining();
    break;
  case Ending::Rollback:
    rollback();
    break;
  }
}

void Transaction::endForDisconnect() noexcept {
  if (!transaction_)
    return;
  try {
    if (ending_ == Ending::Rollback)
      rollback();
    else
      commit();
  } catch (const DatabaseError &) {
    try {
      rollback();
    } catch (const DatabaseError &) {
      transaction_->release();
      finished();
    }
  }
}
