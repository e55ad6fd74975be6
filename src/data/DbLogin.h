#pragma once
// The user name and password a connection attaches with. A server checks both; the embedded
// engine ignores the password and grants the user name's privileges. The defaults are the
// values every existing set-up was made with, so a database created without a login of its
// own keeps opening.
#include <QString>

struct DbLogin {
  QString user;
  QString password;

  static DbLogin defaults();
  bool operator==(const DbLogin &) const = default;
};
