#include "data/Attachment.h"

#include "common/Cp1251.h"
#include "data/FbClient.h"
#include "data/Transaction.h"

#include <ibase.h>

using namespace Firebird;

Attachment::~Attachment() {
  try {
    close();
  } catch (const DatabaseError &) {
    // Nothing sensible is left to do with a connection that cannot be closed.
  }
}

void Attachment::open(const QString &location, const DbLogin &login) {
  attach(location, login, false, 0);
}

void Attachment::create(const QString &location, const DbLogin &login, int pageSize) {
  attach(location, login, true, pageSize);
}

void Attachment::attach(const QString &location, const DbLogin &login, bool createNew, int pageSize) {
  close();
  fb::Xpb dpb(IXpbBuilder::DPB);
  // The client takes these, like file names, in the system's 8-bit encoding.
  dpb.string(isc_dpb_user_name, login.user.toLocal8Bit());
  dpb.string(isc_dpb_password, login.password.toLocal8Bit());
  dpb.string(isc_dpb_lc_ctype, "WIN1251");
  dpb.integer(isc_dpb_sql_dialect, SQL_DIALECT_V6);
  if (createNew) {
    dpb.integer(isc_dpb_page_size, pageSize);
    dpb.string(isc_dpb_set_db_charset, "WIN1251");
  }
  // The client takes file names in the system's 8-bit encoding.
  const QByteArray name = location.toLocal8Bit();
  IAttachment *att = fb::call([&](ThrowStatusWrapper *st) {
    return createNew ? fb::provider()->createDatabase(st, name.constData(), dpb.size(), dpb.data())
                     : fb::provider()->attachDatabase(st, name.constData(), dpb.size(), dpb.data());
  });
  std::lock_guard lock(mutex_);
  attachment_ = att;
  location_ = location;
}

void Attachment::close() {
  std::vector<Transaction *> open;
  {
    std::lock_guard lock(mutex_);
    if (!attachment_)
      return;
    open = transactions_;
  }
  for (Transaction *t : open)
    t->endForDisconnect();

  IAttachment *att = nullptr;
  {
    std::lock_guard lock(mutex_);
    att = attachment_;
    attachment_ = nullptr;
  }
  try {
    fb::call([&](ThrowStatusWrapper *st) { att->detach(st); }); // releases on success
  } catch (const DatabaseError &) {
    att->release();
    throw;
  }
}

void Attachment::drop() {
  std::vector<Transaction *> open;
  IAttachment *att = nullptr;
  {
    std::lock_guard lock(mutex_);
    if (!attachment_)
      return;
    open = transactions_;
    att = attachment_;
  }
  for (Transaction *t : open)
    if (t->isActive()) {
      try {
        t->rollback();
      } catch (const DatabaseError &) {
      }
    }
  fb::call([&](ThrowStatusWrapper *st) { att->dropDatabase(st); }); // releases on success
  std::lock_guard lock(mutex_);
  attachment_ = nullptr;
}

bool Attachment::isOpen() const {
  std::lock_guard lock(mutex_);
  return attachment_ != nullptr;
}

IAttachment *Attachment::handle() const {
  std::lock_guard lock(mutex_);
  if (!attachment_)
    throw DatabaseError(QStringLiteral("The database connection is not open."));
  return attachment_;
}

void Attachment::registerTransaction(Transaction *t) {
  std::lock_guard lock(mutex_);
  transactions_.push_back(t);
}

void Attachment::unregisterTransaction(Transaction *t) {
  std::lock_guard lock(mutex_);
  std::erase(transactions_, t);
}
