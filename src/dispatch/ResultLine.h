#pragma once
// The line the result list gets for one recipient: T the personalised text, P the phone
// number, A the operator's (gateway's or modem's) answer. The failure line holds CR LF.
#include <QString>

namespace result_line {

QString accepted(const QString &text, const QString &phone);
QString refused(const QString &text, const QString &phone, const QString &answer);

} // namespace result_line
