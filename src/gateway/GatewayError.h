#pragma once
#include "common/Error.h"

// Any failure of a gateway call: no connection, time-out, HTTP status, wrong content type,
// SOAP fault or an unreadable answer. The text is what the operator and the result list see.
BL_ERROR_CLASS(GatewayError, AppError)
