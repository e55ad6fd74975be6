#include "dispatch/ContactListReopen.h"

#include "data/DataSet.h"

#include <QMetaObject>

ContactListReopen::ContactListReopen(DataSet &contacts, QObject *parent)
    : QObject(parent), contacts_(contacts) {
  connect(&contacts_, &DataSet::stateChanged, this, &ContactListReopen::editEnded);
}

void ContactListReopen::request() {
  if (contacts_.isEditing()) {
    pending_ = true;
    return;
  }
  reopen();
}

void ContactListReopen::editEnded() {
  if (!pending_ || contacts_.isEditing())
    return;
  pending_ = false;
  // Not inside the post or cancel that ended the edit.
  QMetaObject::invokeMethod(this, &ContactListReopen::request, Qt::QueuedConnection);
}

void ContactListReopen::reopen() {
  pending_ = false;
  contacts_.close();
  contacts_.open();
}
