// brisklane-mkdb: creates a contact database, or records which database the program opens.
//   brisklane-mkdb [--demo] PATH           create PATH (with a demo group when asked)
//   brisklane-mkdb --register PATH         set the per-user "DBName" to PATH
//   brisklane-mkdb --register-if-unset PATH  the same, only when "DBName" is empty
// A relative PATH is recorded as an absolute one; "host:/path" is recorded unchanged.
#include "data/DatabaseCreator.h"
#include "data/DatabaseError.h"
#include "data/DbSettings.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

namespace {

int usage(QTextStream &err) {
  err << "usage: brisklane-mkdb [--demo] PATH\n"
         "       brisklane-mkdb --register PATH\n"
         "       brisklane-mkdb --register-if-unset PATH\n";
  return 2;
}

} // namespace

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  QTextStream out(stdout), err(stderr);
  QStringList args = app.arguments().mid(1);
  bool demo = false, registerAlways = false, registerIfUnset = false;
  QString path;
  for (const QString &arg : args) {
    if (arg == QLatin1String("--demo"))
      demo = true;
    else if (arg == QLatin1String("--register"))
      registerAlways = true;
    else if (arg == QLatin1String("--register-if-unset"))
      registerIfUnset = true;
    else if (arg.startsWith(QLatin1String("--")) || !path.isEmpty())
      return usage(err);
    else
      path = arg;
  }
  if (path.isEmpty() || (demo && (registerAlways || registerIfUnset)) || (registerAlways && registerIfUnset))
    return usage(err);

  const QString location = normalizedDbLocation(path);
  if (registerAlways || registerIfUnset) {
    const QString current = dbNameSetting();
    if (registerIfUnset && !current.isEmpty()) {
      out << "DBName is already set: " << current << "\n";
      return 0;
    }
    setDbNameSetting(location);
    out << "DBName set to " << location << "\n";
    return 0;
  }

  try {
    DatabaseCreator::create(location, demo);
  } catch (const DatabaseError &e) {
    err << "brisklane-mkdb: " << e.text() << "\n";
    return 1;
  }
  out << "Created " << location << (demo ? " with the demo group" : "") << "\n";
  return 0;
}
