#include "gui/sending/TFSetCom.h"

#include "data/DataSet.h"
#include "gui/base/OkCancelButtons.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char *const kColumns[] = {"COMRATE", "COMBIT", "COMSTOPBIT", "COMPARITY", "COMCONTROL"};

QStringList itemsOf(const QComboBox *box) {
  QStringList items;
  for (int i = 0; i < box->count(); ++i)
    items.append(box->itemText(i));
  return items;
}

} // namespace

TFSetCom::TFSetCom(DataSet *options, QWidget *parent)
    : TFParentForm(QStringLiteral("FSetCom"), parent), options_(options) {
  auto named = [this](auto *widget, const char *name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
  };
  gbxSetCom = named(new QGroupBox(this), "gbxSetCom");
  lbRate = named(new QLabel(QStringLiteral("Скорость"), gbxSetCom), "lbRate");
  lbBit = named(new QLabel(QStringLiteral("Биты данных"), gbxSetCom), "lbBit");
  lbStopBit = named(new QLabel(QStringLiteral("Стоповые биты"), gbxSetCom), "lbStopBit");
  lbParity = named(new QLabel(QStringLiteral("Чётность"), gbxSetCom), "lbParity");
  lbControl = named(new QLabel(QStringLiteral("Управление потоком"), gbxSetCom), "lbControl");
  const SerialSettingsLists standard = SerialSettingsLists::standard();
  auto list = [&](const char *name, const QStringList &items) {
    auto *box = named(new QComboBox(gbxSetCom), name);
    box->addItems(items);
    box->setCurrentIndex(0);
    return box;
  };
  cbxRate = list("cbxRate", standard.rates);
  cbxRate->setCurrentText(QStringLiteral("57600"));
  cbxBit = list("cbxBit", standard.bits);
  cbxBit->setCurrentText(QStringLiteral("8"));
  cbxStopBit = list("cbxStopBit", standard.stopBits);
  cbxParity = list("cbxParity", standard.parities);
  cbxControl = list("cbxControl", standard.controls);
  auto *form = new QFormLayout(gbxSetCom);
  form->addRow(lbRate, cbxRate);
  form->addRow(lbBit, cbxBit);
  form->addRow(lbStopBit, cbxStopBit);
  form->addRow(lbParity, cbxParity);
  form->addRow(lbControl, cbxControl);

  const OkCancelButtons foot = addOkCancelButtons(this);
  butOK = foot.ok;
  butCancel = foot.cancel;
  auto *buttons = foot.box;
  connect(this, &QDialog::finished, this, &TFSetCom::FormClose);

  auto *layout = new QVBoxLayout(this);
  layout->addWidget(gbxSetCom);
  layout->addWidget(buttons);
  applyLanguage();
  FormCreate();
}

SerialSettingsLists TFSetCom::lists() const {
  return {itemsOf(cbxRate), itemsOf(cbxBit), itemsOf(cbxStopBit), itemsOf(cbxParity), itemsOf(cbxControl)};
}

SerialSettingsSelection TFSetCom::selection() const {
  return {cbxRate->currentIndex(), cbxBit->currentIndex(), cbxStopBit->currentIndex(),
          cbxParity->currentIndex(), cbxControl->currentIndex()};
}

void TFSetCom::FormCreate() {
  if (!options_ || !options_->isOpen())
    return;
  const DataSet &options = *options_;
  SerialSettings stored;
  stored.COMRATE = options.value(QLatin1String(kColumns[0])).toInt();
  stored.COMBIT = options.value(QLatin1String(kColumns[1])).toInt();
  stored.COMSTOPBIT = options.value(QLatin1String(kColumns[2])).toInt();
  stored.COMPARITY = options.value(QLatin1String(kColumns[3])).toInt();
  stored.COMCONTROL = options.value(QLatin1String(kColumns[4])).toInt();
  const SerialSettingsSelection s = selectionFor(stored, lists());
  cbxRate->setCurrentIndex(s.rate);
  cbxBit->setCurrentIndex(s.bit);
  cbxStopBit->setCurrentIndex(s.stopBit);
  cbxParity->setCurrentIndex(s.parity);
  cbxControl->setCurrentIndex(s.control);
}

void TFSetCom::FormClose(int result) {
  if (result != QDialog::Accepted || !options_)
    return;
  const auto settings = settingsFrom(selection(), lists());
  if (!settings)
    return; // no number for the rate or the data bits: nothing is stored
  DataSet &options = *options_;
  try {
    options.edit();
    const qint32 values[] = {settings->COMRATE, settings->COMBIT, settings->COMSTOPBIT, settings->COMPARITY,
                             settings->COMCONTROL};
    for (int i = 0; i < 5; ++i)
      options.setValue(QLatin1String(kColumns[i]), values[i]);
    options.post();
  } catch (const std::exception &) {
    // Storing the serial settings fails silently.
    try {
      options.cancel();
    } catch (const std::exception &) {
    }
  }
}
