#pragma once
// A filter's condition text (built by the filter builder or read back from LISTFILT) goes into
// the contact statements between parentheses, next to the group condition. A text that closes
// a parenthesis it did not open, leaves one open, leaves a string literal or a quoted name
// open, or holds a comment could reach past those parentheses and drop the group condition,
// so the list and a dispatch would take contacts of every group. Such a text is refused
// before it goes into any statement.
#include "common/Error.h"

#include <QString>

BL_ERROR_CLASS(FilterConditionError, AppError)

// Throws FilterConditionError naming what is wrong and where (from 1) when condition cannot
// stand on its own between parentheses; an empty condition passes.
void checkFilterCondition(const QString &condition);
