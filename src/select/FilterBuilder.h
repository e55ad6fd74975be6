#pragma once
// The state of the filter builder dialog without its window: five rows, top to bottom,
// and the pair of conjunction boxes of which exactly one is ticked. A new builder has no
// selection in any row, empty values and "all rows must hold" ticked. The dialog copies
// each change of its controls in and shows the boxes' state back after a click.
#include "select/FormFilter.h"

#include <array>

class FilterBuilder {
public:
  static constexpr int rowCount = 5;

  explicit FilterBuilder(QStringList fieldNames);

  const QStringList &fieldNames() const { return fieldNames_; }

  // row is 0..4; positions as in the field and operator lists, -1 for no selection.
  const FilterRow &row(int row) const { return rows_.at(row); }
  void setField(int row, int position) { rows_.at(row).field = position; }
  void setOperator(int row, int position) { rows_.at(row).oper = position; }
  void setValue(int row, const QString &value) { rows_.at(row).value = value; }

  // The boxes after the operator clicked one of them (ticked: its new state). Unticking
  // one ticks the other, so the pair always has exactly one box ticked.
  void cbAndClick(bool ticked) { conjunction_ = ticked ? Conjunction::And : Conjunction::Or; }
  void cbOrClick(bool ticked) { conjunction_ = ticked ? Conjunction::Or : Conjunction::And; }
  bool andTicked() const { return conjunction_ == Conjunction::And; }
  bool orTicked() const { return conjunction_ == Conjunction::Or; }
  Conjunction conjunction() const { return conjunction_; }

  // The condition text of the rows as they stand now; empty when no row is complete.
  QString FormFilter() const;

private:
  QStringList fieldNames_;
  std::array<FilterRow, rowCount> rows_;
  Conjunction conjunction_ = Conjunction::And;
};
