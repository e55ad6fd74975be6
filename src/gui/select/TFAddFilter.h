#pragma once
// The name dialog of a saved filter, opened by the row events of IBFilter: one edit bound
// to NAME. The condition itself is not shown: a new row takes it from PendingFilter when
// it is posted, and a renamed row keeps its own.
#include "gui/base/TFAddName.h"

class TFAddFilter : public TFAddName {
  Q_OBJECT
public:
  explicit TFAddFilter(DataSet *filters, QWidget *parent = nullptr);
};
