#include "gui/select/TFAddFilter.h"

TFAddFilter::TFAddFilter(DataSet *filters, QWidget *parent)
    : TFAddName(QStringLiteral("FAddFilter"), QStringLiteral("Фильтр"), filters, parent) {}
