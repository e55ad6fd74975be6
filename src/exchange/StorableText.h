#pragma once
// Imported texts go into the database in the Windows Cyrillic code page; one that the code
// page cannot hold is refused by name instead of being stored with substitutes.
#include "common/Error.h"

#include <QString>

BL_ERROR_CLASS(ImportTextError, AppError)

// Throws ImportTextError naming what (for example "the subject of message 3") and the first
// character cp1251 has no place for.
void requireStorableText(const QString &text, const QString &what);
