#include "gui/contacts/TFAddGroup.h"

TFAddGroup::TFAddGroup(DataSet *groups, QWidget *parent)
    : TFAddName(QStringLiteral("FAddGroup"), QStringLiteral("Группа"), groups, parent) {}
