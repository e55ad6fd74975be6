#pragma once
// The modem log file of the options row (the first row of RB_OPTIONS), read once per run on
// the run's thread, on a transaction of its own. Empty: no log, also when there is no row.
#include <QString>

class Attachment;

QString readLogFile(Attachment &db);
