#pragma once
// The mailbox account of the options row: EMLOGIN, EMPASS and EMPOP, each absent when NULL.
#include <QString>

#include <optional>

class DataSet;

struct MailboxAccount {
  std::optional<QString> login;
  std::optional<QString> password;
  std::optional<QString> server; // "host" or "host:port"

  // Reads the current row of the options data set (IBOptions); a closed or empty data set
  // gives an account without any of the three.
  static MailboxAccount fromOptions(const DataSet &options);
  // All three are set and the server is not blank.
  bool isComplete() const;
};
