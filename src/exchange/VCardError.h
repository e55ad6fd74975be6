#pragma once
#include "common/Error.h"

// An address book file that cannot be read or is not a well-formed vCard file; the text names
// the file's line where it went wrong.
BL_ERROR_CLASS(VCardError, AppError)
