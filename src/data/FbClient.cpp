#include "data/FbClient.h"

#include <ibase.h>

#include <QString>

const QString DatabaseErrorBase::lockConflictText =
    QStringLiteral("Another user or task is changing this record at the moment; nothing was written. "
                   "Try again when that work is done.");

bool DatabaseErrorBase::isLockConflict() const {
  return hasCode(isc_deadlock) || hasCode(isc_update_conflict) || hasCode(isc_lock_conflict);
}

bool DatabaseErrorBase::isOpenElsewhere() const {
  return hasCode(isc_already_opened);
}

namespace fb {

using namespace Firebird;

IMaster *master() {
  static IMaster *m = fb_get_master_interface();
  return m;
}

IUtil *util() {
  static IUtil *u = master()->getUtilInterface();
  return u;
}

IProvider *provider() {
  static IProvider *p = master()->getDispatcher();
  return p;
}

DatabaseError toError(const IStatus *status) {
  char text[2048];
  util()->formatStatus(text, sizeof text, const_cast<IStatus *>(status));

  const intptr_t *vector = status->getErrors();
  char state[FB_SQLSTATE_SIZE] = {};
  fb_sqlstate(state, reinterpret_cast<const ISC_STATUS *>(vector));

  // The vector is a sequence of (kind, value) pairs; kind isc_arg_gds carries a code.
  QList<qint64> codes;
  for (const intptr_t *p = vector; *p != isc_arg_end;) {
    const intptr_t kind = *p++;
    if (kind == isc_arg_cstring) {
      p += 2;
      continue;
    }
    if (kind == isc_arg_gds)
      codes.append(*p);
    ++p;
  }
  QString message = QString::fromLocal8Bit(text).trimmed();
  // The engine's words for a row held by another transaction ("deadlock") mislead an
  // operator: say first what happened, then the engine's own text.
  if (codes.contains(isc_deadlock) || codes.contains(isc_update_conflict) ||
      codes.contains(isc_lock_conflict))
    message.prepend(DatabaseErrorBase::lockConflictText + u'\n');
  return DatabaseError(message, QString::fromLatin1(state), codes);
}

Xpb::Xpb(unsigned kind) {
  builder_ = call([&](ThrowStatusWrapper *st) { return util()->getXpbBuilder(st, kind, nullptr, 0); });
}

Xpb::~Xpb() {
  builder_->dispose();
}

void Xpb::tag(unsigned char tag) {
  call([&](ThrowStatusWrapper *st) { builder_->insertTag(st, tag); });
}

void Xpb::integer(unsigned char tag, int value) {
  call([&](ThrowStatusWrapper *st) { builder_->insertInt(st, tag, value); });
}

void Xpb::string(unsigned char tag, const QByteArray &value) {
  call([&](ThrowStatusWrapper *st) { builder_->insertBytes(st, tag, value.constData(), value.size()); });
}

const unsigned char *Xpb::data() {
  return call([&](ThrowStatusWrapper *st) { return builder_->getBuffer(st); });
}

unsigned Xpb::size() {
  return call([&](ThrowStatusWrapper *st) { return builder_->getBufferLength(st); });
}

} // namespace fb
