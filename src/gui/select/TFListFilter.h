#pragma once
// The list of saved filters: the template list over IBFilter. Renaming opens the filter's
// name dialog (the row keeps its condition); deleting asks stDelFilter first. Neither
// touches the contact list or the filter in force.
#include "gui/message/TFListTemplate.h"

class TFListFilter : public TFListTemplate {
  Q_OBJECT
public:
  explicit TFListFilter(DataSet *filters, QWidget *parent = nullptr)
      : TFListTemplate(QStringLiteral("FListFilter"), filters, parent) {}
};
