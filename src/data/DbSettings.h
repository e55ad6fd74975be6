#pragma once
// The per-user setting "DBName" of organisation "Kelvanor": the database location the
// program opens (a local file path, or "host:/path" for a Firebird server, passed to the
// client unchanged). There is no built-in default: a missing value reads as empty.
#include <QString>

QString dbNameSetting();
// The file that keeps the per-user settings, "DBName" among them.
QString dbNameSettingFile();
void setDbNameSetting(const QString &location);
// A relative local path made absolute, so the program finds the file from any folder;
// server locations ("host:/path", "host/port:path") are returned unchanged.
QString normalizedDbLocation(const QString &location);
