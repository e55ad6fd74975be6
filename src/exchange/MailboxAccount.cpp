#include "exchange/MailboxAccount.h"

#include "data/DataSet.h"

namespace {
std::optional<QString> column(const DataSet &options, const char *name) {
  if (!options.isOpen() || options.currentRow() < 0 || !options.hasField(QString::fromLatin1(name)))
    return std::nullopt;
  const QVariant value = options.value(QString::fromLatin1(name));
  if (!value.isValid() || value.isNull())
    return std::nullopt;
  return value.toString();
}
} // namespace

MailboxAccount MailboxAccount::fromOptions(const DataSet &options) {
  return {column(options, "EMLOGIN"), column(options, "EMPASS"), column(options, "EMPOP")};
}

bool MailboxAccount::isComplete() const {
  return login && password && server && !server->trimmed().isEmpty();
}
