#pragma once
#include "common/Error.h"

// Any failure of the mailbox: the server not found or refusing the connection, a time-out,
// the login refused, a command answered with -ERR. The text is what the operator sees.
BL_ERROR_CLASS(MailError, AppError)
