#pragma once
// The contact queries of the preview, the count and the dispatch, built from the recipient
// scope (all groups or one group) and the filter in force. Columns are always those of
// GetListFields, so column positions match the placeholder table.
#include <QString>
#include <QVariant>

struct RecipientScope {
  bool all = true;    // cbAll ticked
  bool group = false; // cbGroup ticked (wins when both are)
  QVariant groupId;   // key of the group chosen in dblcListGroup; invalid when none
};

// The recipients: the scope, narrowed by filter (a condition without WHERE; empty: none).
// Empty when neither scope box is ticked; running that fails, which is how the operator
// learns the scope is missing. Throws FilterConditionError for a filter that could reach past
// its parentheses.
QString recipientQuery(const QString &columns, const RecipientScope &scope, const QString &filter);

// The whole scope, whatever filter is in force: what the message count covers.
QString countQuery(const QString &columns, const RecipientScope &scope);

// The first contact of the whole table: the sample message.
QString firstContactQuery(const QString &columns);
