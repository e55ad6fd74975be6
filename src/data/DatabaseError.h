#pragma once
// Failures of the database client carry the client's own text plus the SQLSTATE and the
// status codes, so callers can tell a lock conflict from other failures.
#include "common/Error.h"

#include <QList>

class DatabaseErrorBase : public AppError {
public:
  explicit DatabaseErrorBase(const QString &text, const QString &sqlState = QString(),
                             const QList<qint64> &codes = {})
      : AppError(text), sqlState_(sqlState), codes_(codes) {}

  // Five-character SQLSTATE, empty when the failure is not the client's.
  const QString &sqlState() const { return sqlState_; }
  // The client's status codes (isc_...), in the order it reported them.
  const QList<qint64> &codes() const { return codes_; }
  bool hasCode(qint64 code) const { return codes_.contains(code); }
  // Another transaction holds the row (under "nowait" this fails at once).
  bool isLockConflict() const;
  // The database file is held by another process's engine (a local file opens in one
  // process at a time).
  bool isOpenElsewhere() const;
  // The first line of a lock conflict's text, before the client's own.
  static const QString lockConflictText;

private:
  QString sqlState_;
  QList<qint64> codes_;
};

BL_ERROR_CLASS(DatabaseError, DatabaseErrorBase)
