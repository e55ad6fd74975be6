#include "select/RecipientSelection.h"

RecipientSelection::RecipientSelection(QObject *parent) : QObject(parent) {}

void RecipientSelection::setCurrentFilter(const QString &condition) {
  if (condition == currentFilter_)
    return;
  currentFilter_ = condition;
  emit currentFilterChanged(currentFilter_);
}

void RecipientSelection::cbAllClick(bool ticked, const QVariant &currentGroupId) {
  if (ticked)
    setScope(false, QVariant());
  else
    setScope(true, currentGroupId);
}

void RecipientSelection::cbGroupClick(bool ticked, const QVariant &currentGroupId) {
  cbAllClick(!ticked, currentGroupId);
}

void RecipientSelection::chooseGroup(const QVariant &groupId) {
  if (group_)
    setScope(true, groupId);
}

void RecipientSelection::setScope(bool group, const QVariant &groupId) {
  const QVariant id = group && groupId.isValid() && !groupId.isNull() ? groupId : QVariant();
  if (group == group_ && id == groupId_)
    return;
  group_ = group;
  groupId_ = id;
  emit scopeChanged();
}

RecipientScope RecipientSelection::scope() const {
  RecipientScope s;
  s.all = !group_;
  s.group = group_;
  s.groupId = groupId_;
  return s;
}

QString RecipientSelection::recipientQuery(const QString &columns) const {
  return ::recipientQuery(columns, scope(), currentFilter_);
}

QString RecipientSelection::countQuery(const QString &columns) const {
  return ::countQuery(columns, scope());
}
