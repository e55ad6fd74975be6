#include "gui/select/RecipientScopeBoxes.h"

#include "data/DataSet.h"
#include "gui/base/Widgets.h"
#include "gui/message/MessagePage.h"
#include "select/RecipientSelection.h"

#include <QCheckBox>
#include <QScopeGuard>
#include <QSignalBlocker>

RecipientScopeBoxes::RecipientScopeBoxes(MessagePage &page, DataSet *groups, RecipientSelection &selection,
                                         QObject *parent)
    : QObject(parent), cbAll_(page.cbAll), cbGroup_(page.cbGroup), list_(page.dblcListGroup), groups_(groups),
      selection_(selection) {
  setObjectName(QStringLiteral("RecipientScopeBoxes"));
  connect(cbAll_, &QCheckBox::clicked, this, &RecipientScopeBoxes::cbAllClick);
  connect(cbGroup_, &QCheckBox::clicked, this, &RecipientScopeBoxes::cbGroupClick);
  connect(list_, &QComboBox::activated, this, &RecipientScopeBoxes::dblcListGroupChange);
  connect(&selection, &RecipientSelection::scopeChanged, this, &RecipientScopeBoxes::showScope);
  if (groups_) {
    connect(groups_, &DataSet::reset, this, &RecipientScopeBoxes::refillGroupList);
    connect(groups_, &DataSet::rowChanged, this, &RecipientScopeBoxes::refillGroupList);
    connect(groups_, &DataSet::rowsInserted, this, &RecipientScopeBoxes::refillGroupList);
    connect(groups_, &DataSet::rowRemoved, this, &RecipientScopeBoxes::refillGroupList);
  }
  refillGroupList();
  showScope();
}

QVariant RecipientScopeBoxes::currentGroupId() const {
  if (!groups_ || !groups_->isOpen() || groups_->currentRow() < 0)
    return {};
  return groups_->value(QStringLiteral("ID"));
}

void RecipientScopeBoxes::cbAllClick() {
  selection_.cbAllClick(cbAll_->isChecked(), currentGroupId());
  showScope(); // also when nothing changed: the clicked box shows the state again
}

void RecipientScopeBoxes::cbGroupClick() {
  selection_.cbGroupClick(cbGroup_->isChecked(), currentGroupId());
  showScope();
}

void RecipientScopeBoxes::dblcListGroupChange(int index) {
  selection_.chooseGroup(index >= 0 ? list_->itemData(index) : QVariant());
  showScope();
}

void RecipientScopeBoxes::showScope() {
  if (!cbAll_ || !cbGroup_ || !list_)
    return;
  cbAll_->setChecked(selection_.allTicked());
  cbGroup_->setChecked(selection_.groupTicked());
  list_->setEnabled(selection_.groupTicked());
  const QVariant id = selection_.groupId();
  const QSignalBlocker quiet(list_);
  list_->setCurrentIndex(id.isValid() ? list_->findData(id) : -1);
}

void RecipientScopeBoxes::refillGroupList() {
  if (refilling_ || !list_)
    return; // reading the remaining groups below reports new rows again
  refilling_ = true;
  const auto done = qScopeGuard([this] { refilling_ = false; });
  {
    const QSignalBlocker quiet(list_);
    list_->clear();
    if (!groups_ || !groups_->isOpen())
      return; // closed for a moment (read again): the choice stays as it was
    // The choice lists every group, not just those the grid has read so far.
    groups_->fetchAll();
    const int id = groups_->fieldIndex(QStringLiteral("ID")),
              name = groups_->fieldIndex(QStringLiteral("NAME"));
    for (int row = 0; row < groups_->rowCount(); ++row)
      list_->addItem(groups_->value(row, name).toString(), groups_->value(row, id));
  }
  const QVariant chosen = selection_.groupId();
  if (chosen.isValid() && list_->findData(chosen) < 0)
    selection_.chooseGroup(QVariant()); // the chosen group is gone
  showScope();
}
