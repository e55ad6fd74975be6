#include "gui/dispatch/TFSetTimer.h"

#include "dispatch/DispatchSchedule.h"
#include "gui/base/OkCancelButtons.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

TFSetTimer::TFSetTimer(const QDateTime &now, QWidget *parent)
    : TFParentForm(QStringLiteral("FSetTimer"), parent) {
  auto named = [](auto *widget, const char *name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
  };
  gbxTimePar = named(new QGroupBox(QStringLiteral("Время рассылки"), this), "gbxTimePar");
  lbDateTimer = named(new QLabel(QStringLiteral("Дата"), gbxTimePar), "lbDateTimer");
  lbTimeTimer = named(new QLabel(QStringLiteral("Время"), gbxTimePar), "lbTimeTimer");
  DateTimePicker1 = named(new QDateEdit(now.date(), gbxTimePar), "DateTimePicker1");
  DateTimePicker1->setCalendarPopup(true);
  // Four-digit years: a two-digit year typed in would land in the wrong century.
  QString dateFormat = QLocale().dateFormat(QLocale::ShortFormat);
  if (!dateFormat.contains(QLatin1String("yyyy")))
    dateFormat.replace(QLatin1String("yy"), QLatin1String("yyyy"));
  DateTimePicker1->setDisplayFormat(dateFormat);
  // Whole seconds: the picker shows no more than that, and the target is what it shows.
  const QTime time = now.time();
  DateTimePicker2 =
      named(new QTimeEdit(QTime(time.hour(), time.minute(), time.second()), gbxTimePar), "DateTimePicker2");
  DateTimePicker2->setDisplayFormat(DispatchSchedule::longTimeFormat());
  auto *form = new QFormLayout(gbxTimePar);
  form->addRow(lbDateTimer, DateTimePicker1);
  form->addRow(lbTimeTimer, DateTimePicker2);

  const OkCancelButtons foot = addOkCancelButtons(this);
  butOK = foot.ok;
  butCancel = foot.cancel;
  auto *buttons = foot.box;

  auto *layout = new QVBoxLayout(this);
  layout->addWidget(gbxTimePar);
  layout->addWidget(buttons);
  applyLanguage();
}

QDate TFSetTimer::chosenDate() const {
  return DateTimePicker1->date();
}

QTime TFSetTimer::chosenTime() const {
  return DateTimePicker2->time();
}
