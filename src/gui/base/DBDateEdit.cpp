#include "gui/base/DBDateEdit.h"
#include "gui/base/FollowValue.h"

#include "data/DataSet.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLineEdit>

namespace {
// The lowest date stands for "no date" and shows as a blank.
const QDate emptyDate(1800, 1, 1);
} // namespace

DBDateEdit::DBDateEdit(QWidget *parent) : QDateEdit(parent) {
  setCalendarPopup(true);
  setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
  setMinimumDate(emptyDate);
  setSpecialValueText(QStringLiteral(" "));
  setDate(emptyDate);
  connect(this, &QDateEdit::dateChanged, this, &DBDateEdit::userChanged);
  // An empty edit opens its calendar on today rather than on the lowest date.
  connect(calendarWidget(), &QCalendarWidget::currentPageChanged, this, [this] {
    if (date() == emptyDate && calendarWidget()->yearShown() == emptyDate.year())
      calendarWidget()->setCurrentPage(QDate::currentDate().year(), QDate::currentDate().month());
  });
}

void DBDateEdit::bind(DataSet *dataSet, const QString &field) {
  if (dataSet_)
    disconnect(dataSet_, nullptr, this, nullptr);
  dataSet_ = dataSet;
  field_ = field;
  if (dataSet_)
    followValue(dataSet_, this, &DBDateEdit::showValue);
  showValue();
}

QDate DBDateEdit::value() const {
  return date() == emptyDate ? QDate() : date();
}

void DBDateEdit::setValueByOperator(const QDate &date) {
  setDate(date.isValid() ? date : emptyDate);
}

void DBDateEdit::showValue() {
  const QDate stored = dataSet_ ? dataSet_->value(field_).toDate() : QDate();
  showing_ = true;
  setDate(stored.isValid() ? stored : emptyDate);
  showing_ = false;
}

void DBDateEdit::userChanged(const QDate &date) {
  if (showing_ || !dataSet_)
    return;
  if (!dataSet_->isEditing()) {
    dataSet_->edit();
    if (!dataSet_->isEditing()) {
      showValue();
      return;
    }
  }
  dataSet_->setValue(field_, date == emptyDate ? QVariant() : QVariant(date));
}

void DBDateEdit::keyPressEvent(QKeyEvent *event) {
  const bool clearKey = event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace;
  if (clearKey && lineEdit()->selectedText() == lineEdit()->text()) {
    setDate(emptyDate);
    event->accept();
    return;
  }
  QDateEdit::keyPressEvent(event);
}
