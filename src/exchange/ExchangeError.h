#pragma once
// Failures of the import and export of contacts. Each carries the text the operator sees: a
// library's own message (file, spreadsheet writer) or a [Constant] text of the language.
#include "common/Error.h"

// A CSV file that cannot be read (missing, locked, not a file).
BL_ERROR_CLASS(CsvReadError, AppError)
// An import refused before the database saw it (no group, a text the code page cannot hold).
BL_ERROR_CLASS(CsvImportError, AppError)
// An export that cannot be made: nothing to export, or the file cannot be written.
BL_ERROR_CLASS(ExportError, AppError)
// The spreadsheet writer's own failure (libxlsxwriter's message).
BL_ERROR_CLASS(XlsxError, ExportError)
