#include "gui/base/RowDialogs.h"

#include "data/TDModule.h"
#include "data/contacts/RecordRules.h"
#include "gui/base/TFParentAdd.h"

#include <QApplication>
#include <QPointer>

RowDialogs::RowDialogs(TDModule &module) : module_(module) {
  record_rules::install(module, [this](DataSet &ds, const QString &suffix) { open(ds, suffix); });
}

RowDialogs::~RowDialogs() {
  record_rules::uninstall(module_);
}

void RowDialogs::setDialog(const DataSet &dataSet, RowDialogFactory factory) {
  if (factory)
    factories_.insert(&dataSet, std::move(factory));
  else
    factories_.remove(&dataSet);
}

bool RowDialogs::hasDialog(const DataSet &dataSet) const {
  return factories_.contains(&dataSet);
}

bool RowDialogs::open(DataSet &dataSet, const QString &suffix) const {
  const RowDialogFactory factory = factories_.value(&dataSet);
  if (!factory) {
    dataSet.cancel();
    return false;
  }
  // Over the window the operator works in: the main window, or the template or filter list.
  QPointer<TFParentAdd> dialog = factory(QApplication::activeWindow());
  dialog->setWindowTitle(dialog->windowTitle() + QStringLiteral(" [") + suffix + u']');
  dialog->exec();
  delete dialog.data();
  return true;
}
