#include "dispatch/ResultLine.h"

namespace result_line {

QString accepted(const QString &text, const QString &phone) {
  return QStringLiteral(u"Сообщение \"") + text + QStringLiteral(u"\" доставлено успешно. Номер телефона: ") +
         phone;
}

QString refused(const QString &text, const QString &phone, const QString &answer) {
  return QStringLiteral(u"При отправке сообщения \"") + text +
         QStringLiteral(u"\" произошла ошибка. Номер телефона: ") + phone +
         QStringLiteral(u"\r\nОтвет оператора: ") + answer;
}

} // namespace result_line
