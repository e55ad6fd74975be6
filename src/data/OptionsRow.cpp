#include "data/OptionsRow.h"

#include "common/IniFile.h"
#include "data/DataSet.h"

#include <QFile>
#include <QScopeGuard>

bool OptionsRow::pending() const {
  return options_.isEditing();
}

void OptionsRow::enterEdit() {
  if (options_.isOpen() && !options_.isEditing())
    options_.edit(); // on an empty table this appends the row instead
}

void OptionsRow::cancelQuietly() {
  try {
    if (options_.isOpen())
      options_.cancel();
  } catch (const AppError &) {
    // nothing more can be undone
  }
}

void OptionsRow::leave() {
  if (!options_.isEditing())
    return;
  try {
    options_.post();
  } catch (const AppError &) {
    cancelQuietly();
  }
}

bool OptionsRow::save() {
  if (!options_.isEditing())
    return false;
  try {
    options_.post();
    options_.edit();
    return true;
  } catch (const AppError &) {
    cancelQuietly();
    return false;
  }
}

void OptionsRow::saveGateway(const QString &login, const QString &password) {
  if (!options_.isOpen())
    return;
  const auto browse = qScopeGuard([this] { cancelQuietly(); });
  if (!options_.isEditing())
    options_.edit();
  options_.setValue(QStringLiteral("SHLOGIN"), login);
  options_.setValue(QStringLiteral("SHPASSWORD"), password);
  options_.post();
  options_.edit();
}

bool OptionsRow::chooseLogFile(const QString &chosen) {
  if (!options_.isOpen())
    return false;
  try {
    if (!options_.isEditing())
      options_.edit();
    const QString name = chosen + QStringLiteral(".txt");
    options_.setValue(QStringLiteral("LOGFILE"), name);
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
      cancelQuietly();
      return false;
    }
    file.close();
    options_.post();
    return true;
  } catch (const AppError &) {
    cancelQuietly();
    return false;
  }
}

void OptionsRow::storeLanguage(const QString &iniPath, const QString &language) {
  IniFile(iniPath).writeString(QStringLiteral("params"), QStringLiteral("Lang"), language);
}
