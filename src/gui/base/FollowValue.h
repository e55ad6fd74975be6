#pragma once
// A data-bound control shows its field again whenever the data set may have changed it:
// reopened, another state, another current row, or the row's values changed.
#include <QObject>

#include "data/DataSet.h"

template <class Control> void followValue(DataSet *dataSet, Control *control, void (Control::*show)()) {
  QObject::connect(dataSet, &DataSet::reset, control, show);
  QObject::connect(dataSet, &DataSet::stateChanged, control, show);
  QObject::connect(dataSet, &DataSet::currentRowChanged, control, show);
  QObject::connect(dataSet, &DataSet::rowChanged, control, show);
}
