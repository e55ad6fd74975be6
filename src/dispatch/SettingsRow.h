#pragma once
// The two settings a run reads from the options row (the first row of RB_OPTIONS): the modem
// log file and the pause after each message. Read from the database on the run's thread,
// on a transaction of its own.
#include "data/Query.h"
#include "data/Transaction.h"

#include <QString>

class SettingsRow {
public:
  explicit SettingsRow(Attachment &db);

  // GSMTIME in seconds; empty or no row gives 0.
  int pauseSeconds();
  // LOGFILE; empty: no log.
  QString logFile();

private:
  void read();

  Transaction transaction_;
  Query select_;
};
