#pragma once
// The outcome of reading a gateway answer: the items, or the error text the operator sees.
#include "gateway/GatewayError.h"

#include <QString>
#include <QStringList>

namespace fuzz {

struct Reading {
  QStringList items;
  QString error; // empty when the items were read

  bool operator==(const Reading &) const = default;
  QString shown() const {
    return error.isEmpty() ? u'[' + items.join(u'|') + u']' : QStringLiteral("error ") + error;
  }
};

template <typename Read> Reading readingOf(Read read) {
  try {
    return {read(), {}};
  } catch (const GatewayError &e) {
    if (e.text().isEmpty())
      fail("a refused answer says why");
    return {{}, e.text()};
  }
}

} // namespace fuzz
