#pragma once
// Internal glue to the Firebird client's object interface: the process-wide master and
// utility interfaces, and the translation of the client's failures into DatabaseError.
#include "data/DatabaseError.h"

#include <firebird/Interface.h>

#include <utility>

namespace fb {

Firebird::IMaster *master();
Firebird::IUtil *util();
// The dispatcher; released at process end by the client library itself.
Firebird::IProvider *provider();

// Builds a DatabaseError from a failed status (formatted text, SQLSTATE, codes).
DatabaseError toError(const Firebird::IStatus *status);

// A fresh status per call keeps the interfaces usable from several threads at once.
class Status {
public:
  Status() : status_(master()->getStatus()), wrapper_(status_) {}
  ~Status() { status_->dispose(); }
  Status(const Status &) = delete;
  Status &operator=(const Status &) = delete;
  Firebird::ThrowStatusWrapper *operator&() { return &wrapper_; }

private:
  Firebird::IStatus *status_;
  Firebird::ThrowStatusWrapper wrapper_;
};

// Runs f(ThrowStatusWrapper*) and turns a client failure into DatabaseError.
template <class F> auto call(F &&f) {
  Status status;
  try {
    return std::forward<F>(f)(&status);
  } catch (const Firebird::FbException &e) {
    throw toError(e.getStatus());
  }
}

// Owns a parameter block builder (DPB, TPB...).
class Xpb {
public:
  explicit Xpb(unsigned kind);
  ~Xpb();
  Xpb(const Xpb &) = delete;
  Xpb &operator=(const Xpb &) = delete;
  void tag(unsigned char tag);
  void integer(unsigned char tag, int value);
  void string(unsigned char tag, const QByteArray &value);
  const unsigned char *data();
  unsigned size();

private:
  Firebird::IXpbBuilder *builder_;
};

} // namespace fb
