#pragma once
// The add and rename dialog of a contact group: its name, bound to NAME of IBGroups.
#include "gui/base/TFAddName.h"

class TFAddGroup : public TFAddName {
  Q_OBJECT
public:
  explicit TFAddGroup(DataSet *groups, QWidget *parent = nullptr);
};
