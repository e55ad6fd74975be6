#include "dispatch/SettingsRow.h"

SettingsRow::SettingsRow(Attachment &db)
    : transaction_(db, Transaction::Ending::Commit),
      select_(transaction_, QStringLiteral("SELECT FIRST 1 GSMTIME, LOGFILE\nFROM RB_OPTIONS")) {}

void SettingsRow::read() {
  try {
    select_.execute();
    transaction_.commit();
  } catch (...) {
    transaction_.rollback();
    throw;
  }
}

int SettingsRow::pauseSeconds() {
  read();
  return select_.row().isEmpty() ? 0 : select_.value(0).toInt();
}

QString SettingsRow::logFile() {
  read();
  return select_.row().isEmpty() ? QString() : select_.value(1).toString();
}
