// brisklane-mkdb: creates a contact database, or records which database the program opens.
//   brisklane-mkdb [--demo] [LOGIN] PATH             create PATH (with a demo group when asked)
//   brisklane-mkdb --register [LOGIN] PATH           set the per-user "DBName" to PATH
//   brisklane-mkdb --register-if-unset [LOGIN] PATH  the same, only when "DBName" is empty
// LOGIN is --user NAME and/or --password (the password is read from standard input, without
// echo on a terminal, so it never shows on a command line). Creating, the database is owned
// by that user; registering records "DBUser" and "DBPassword" as given, removing the ones not
// given (their defaults then apply).
// A relative PATH is recorded as an absolute one; "host:/path" is recorded unchanged.
#include "data/DatabaseCreator.h"
#include "data/DatabaseError.h"
#include "data/DbSettings.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

#include <termios.h>
#include <unistd.h>

#include <iostream>
#include <string>

namespace {

int usage(QTextStream &err) {
  err << "usage: brisklane-mkdb [--demo] [--user NAME] [--password] PATH\n"
         "       brisklane-mkdb --register [--user NAME] [--password] PATH\n"
         "       brisklane-mkdb --register-if-unset [--user NAME] [--password] PATH\n"
         "--password reads the password from standard input.\n";
  return 2;
}

// Turns the terminal's echo off for its lifetime.
class EchoOff {
public:
  EchoOff() {
    if (!isatty(STDIN_FILENO) || tcgetattr(STDIN_FILENO, &saved_) != 0)
      return;
    termios quiet = saved_;
    quiet.c_lflag &= ~tcflag_t(ECHO);
    active_ = tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
  }
  ~EchoOff() {
    if (active_)
      tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved_);
  }
  EchoOff(const EchoOff &) = delete;
  EchoOff &operator=(const EchoOff &) = delete;

private:
  termios saved_{};
  bool active_ = false;
};

// One line of standard input; a prompt only when it is a terminal.
QString readPassword(QTextStream &err) {
  const bool terminal = isatty(STDIN_FILENO);
  if (terminal) {
    err << "Password: ";
    err.flush();
  }
  std::string line;
  {
    EchoOff echoOff;
    std::getline(std::cin, line);
  }
  if (terminal) {
    err << "\n";
    err.flush();
  }
  if (!line.empty() && line.back() == '\r')
    line.pop_back();
  return QString::fromLocal8Bit(line);
}

} // namespace

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  QTextStream out(stdout), err(stderr);
  QStringList args = app.arguments().mid(1);
  bool demo = false, registerAlways = false, registerIfUnset = false, askPassword = false;
  QString path, user;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString &arg = args[i];
    if (arg == QLatin1String("--demo"))
      demo = true;
    else if (arg == QLatin1String("--register"))
      registerAlways = true;
    else if (arg == QLatin1String("--register-if-unset"))
      registerIfUnset = true;
    else if (arg == QLatin1String("--password"))
      askPassword = true;
    else if (arg == QLatin1String("--user") && i + 1 < args.size() && !args[i + 1].isEmpty())
      user = args[++i];
    else if (arg.startsWith(QLatin1String("--")) || !path.isEmpty())
      return usage(err);
    else
      path = arg;
  }
  if (path.isEmpty() || (demo && (registerAlways || registerIfUnset)) || (registerAlways && registerIfUnset))
    return usage(err);

  DbLogin given{user, askPassword ? readPassword(err) : QString()};
  if (askPassword && given.password.isEmpty()) {
    err << "brisklane-mkdb: the password is empty\n";
    return 2;
  }

  const QString location = normalizedDbLocation(path);
  if (registerAlways || registerIfUnset) {
    const QString current = dbNameSetting();
    if (registerIfUnset && !current.isEmpty()) {
      out << "DBName is already set: " << current << "\n";
      return 0;
    }
    setDbNameSetting(location);
    setDbLoginSetting(given);
    out << "DBName set to " << location;
    if (!given.user.isEmpty())
      out << ", DBUser to " << given.user;
    if (!given.password.isEmpty())
      out << ", DBPassword recorded";
    out << "\n";
    return 0;
  }

  DbLogin login = DbLogin::defaults();
  if (!given.user.isEmpty())
    login.user = given.user;
  if (!given.password.isEmpty())
    login.password = given.password;
  try {
    DatabaseCreator::create(location, demo, login);
  } catch (const DatabaseError &e) {
    err << "brisklane-mkdb: " << e.text() << "\n";
    return 1;
  }
  out << "Created " << location << (demo ? " with the demo group" : "") << "\n";
  return 0;
}
