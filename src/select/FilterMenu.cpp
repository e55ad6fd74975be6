#include "select/FilterMenu.h"

#include "common/LangConstants.h"
#include "data/DataSet.h"

FilterMenuTexts FilterMenuTexts::current() {
  return {LangConst().stBirthDay, LangConst().pmBreak,
          langText(CurrentLang(), QStringLiteral("TMenuItem"), QStringLiteral("pmEdit"))};
}

QList<FilterMenuItem> buildFilterMenu(DataSet &filters, bool filtered, int checkedId,
                                      const FilterMenuTexts &texts) {
  using Action = FilterMenuItem::Action;
  QList<FilterMenuItem> items;
  if (filters.isOpen()) {
    filters.fetchAll();
    const int id = filters.fieldIndex(QStringLiteral("ID")),
              name = filters.fieldIndex(QStringLiteral("NAME"));
    for (int row = 0; row < filters.rowCount(); ++row) {
      bool ok = false;
      const int key = filters.value(row, id).toInt(&ok);
      if (!ok)
        continue; // a row without a usable key cannot be applied: leave it out, keep the rest
      FilterMenuItem item;
      item.name = QStringLiteral("FI_") + QString::number(key);
      item.caption = filters.value(row, name).toString();
      item.tag = key;
      item.action = Action::ApplySaved;
      item.checked = filtered && key == checkedId;
      items << item;
    }
  }
  items << FilterMenuItem{QStringLiteral("FI_Space"), QStringLiteral("-"), 0, Action::None, true};
  items << FilterMenuItem{QStringLiteral("FI_Birth"), texts.birthDay, 0, Action::BirthDay};
  if (filtered)
    items << FilterMenuItem{QStringLiteral("FI_Break"), texts.breakFilter, 0, Action::RemoveFilter};
  FilterMenuItem edit{QStringLiteral("FI_Edit"), texts.edit, 0, Action::ListFilters};
  edit.enabled = filters.isOpen();
  items << edit;
  return items;
}
