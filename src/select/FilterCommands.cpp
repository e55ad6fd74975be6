#include "select/FilterCommands.h"

#include "common/Dialogs.h"
#include "common/Error.h"
#include "common/LangConstants.h"
#include "compose/FilterCondition.h"
#include "data/Query.h"
#include "data/TDModule.h"
#include "select/RecipientSelection.h"

#include <QScopeGuard>

namespace {

const QString brisklane = QStringLiteral("Brisklane");

// FILT of LISTFILT: VARCHAR(500).
constexpr int filterColumnLength = 500;

} // namespace

FilterCommands::FilterCommands(TDModule &module, RecipientSelection &selection)
    : module_(module), selection_(selection), contactList_(module.IBContacts) {}

bool FilterCommands::applyBuilt(const QString &condition) {
  try {
    if (condition.isEmpty())
      throw AppError(QStringLiteral("The filter has no complete condition."));
    contactList_.apply(condition);
    selection_.setCurrentFilter(condition);
    return true;
  } catch (const AppError &) {
    // The database's own text is not shown here: the operator is told to check the rows.
  }
  selection_.clearCurrentFilter();
  contactList_.remove();
  Dialogs::instance().message(LangConst().stError, LangConst().stParamFilter, Dialogs::Icon::Information);
  return false;
}

int FilterCommands::maxConditionLength() const {
  const int length = module_.IBFilter.fieldLength(QStringLiteral("FILT"));
  return length > 0 ? length : filterColumnLength;
}

bool FilterCommands::saveBuilt(const QString &condition) {
  if (condition.isEmpty()) {
    Dialogs::instance().message(brisklane, LangConst().stFilterEmpty, Dialogs::Icon::Information);
    return false;
  }
  if (condition.size() > maxConditionLength()) {
    Dialogs::instance().message(brisklane, LangConst().stFilterLong, Dialogs::Icon::Information);
    return false;
  }
  DataSet &filters = module_.IBFilter;
  filters.fetchAll(); // the new row goes after every stored one
  const int before = filters.rowCount();
  module_.PendingFilter = condition;
  // A later row posted without FILT must not pick up this condition.
  const auto clearPending = qScopeGuard([this] { module_.PendingFilter.clear(); });
  filters.append(); // its after-insert rule opens the name dialog
  return filters.state() == DataSet::State::Browse && filters.rowCount() > before;
}

QList<FilterMenuItem> FilterCommands::PMFilterPopup() const {
  return menuItems(FilterMenuTexts::current());
}

QList<FilterMenuItem> FilterCommands::menuItems(const FilterMenuTexts &texts) const {
  return buildFilterMenu(module_.IBFilter, contactList_.isFiltered(), contactList_.savedFilterId(), texts);
}

std::optional<QString> FilterCommands::savedCondition(int id) const {
  Query q(module_.IBTrDef, QStringLiteral("SELECT FILT\nFROM LISTFILT\nWHERE ID = :ID"));
  q.setParam(QStringLiteral("ID"), id);
  q.open();
  if (!q.fetch())
    return std::nullopt;
  const QString condition = q.value(0).toString();
  q.close();
  return condition;
}

void FilterCommands::FilterClick(int id) {
  const std::optional<QString> condition = savedCondition(id);
  if (!condition) {
    Dialogs::instance().message(brisklane, LangConst().stFilterGone, Dialogs::Icon::Information);
    return;
  }
  checkFilterCondition(*condition); // a text that would leave the group is refused first
  try {
    contactList_.apply(*condition, id);
  } catch (...) {
    selection_.clearCurrentFilter();
    throw;
  }
  selection_.setCurrentFilter(*condition);
}

void FilterCommands::BreakFiltClick() {
  selection_.clearCurrentFilter();
  contactList_.remove();
}
