#pragma once
// The per-user setting "DBName" of organisation "Kelvanor": the database location the
// program opens (a local file path, or "host:/path" for a Firebird server, passed to the
// client unchanged). There is no built-in default: a missing value reads as empty.
//
// Beside it, "DBUser" and "DBPassword": the login for a server. Each missing or empty one
// reads as its default (DbLogin::defaults()), so set-ups made before keep working.
#include "data/DbLogin.h"

#include <QString>

QString dbNameSetting();
// The file that keeps the per-user settings, "DBName" among them.
QString dbNameSettingFile();
void setDbNameSetting(const QString &location);
DbLogin dbLoginSetting();
// Records the user name and password; an empty one is removed, so its default applies. The
// settings file is then kept readable by its owner only, as it may hold a password.
void setDbLoginSetting(const DbLogin &login);
// A relative local path made absolute, so the program finds the file from any folder;
// server locations ("host:/path", "host/port:path") are returned unchanged.
QString normalizedDbLocation(const QString &location);
