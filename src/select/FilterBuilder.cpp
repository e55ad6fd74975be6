#include "select/FilterBuilder.h"

FilterBuilder::FilterBuilder(QStringList fieldNames) : fieldNames_(std::move(fieldNames)) {}

QString FilterBuilder::FormFilter() const {
  return ::FormFilter(fieldNames_, rows_, conjunction_);
}
