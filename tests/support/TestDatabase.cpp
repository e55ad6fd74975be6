#include "TestDatabase.h"

#include "LocalFirebirdServer.h"

#include "data/DatabaseCreator.h"
#include "data/DbSettings.h"

#include <QSettings>

#include <stdexcept>

namespace {
// Never write the operator's own settings: only a sandboxed configuration folder will do.
void requireSandbox() {
  if (qEnvironmentVariableIsEmpty("XDG_CONFIG_HOME"))
    throw std::runtime_error("XDG_CONFIG_HOME is not set: run the tests through ctest");
}
} // namespace

TestDatabase::TestDatabase(bool withDemo) {
  if (!dir_.isValid())
    throw std::runtime_error("cannot create a temporary folder");
  path_ = dir_.filePath(QStringLiteral("test.fdb"));
  if (LocalFirebirdServer::requested())
    path_ = LocalFirebirdServer::shared().location(path_);
  DatabaseCreator::create(path_, withDemo);
}

void TestDatabase::registerAsDbName() const {
  requireSandbox();
  setDbNameSetting(path_);
}

void TestDatabase::clearDbName() {
  requireSandbox();
  QSettings settings(QStringLiteral("Kelvanor"), QString());
  settings.remove(QStringLiteral("DBName"));
  settings.sync();
}
