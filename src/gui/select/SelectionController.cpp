#include "gui/select/SelectionController.h"

#include "common/Dialogs.h"
#include "common/Error.h"
#include "common/LangConstants.h"
#include "data/TDModule.h"
#include "gui/base/RowDialogs.h"
#include "gui/contacts/ContactsPage.h"
#include "gui/select/TFAddFilter.h"
#include "gui/select/TFFilter.h"
#include "gui/select/TFListFilter.h"
#include "select/BirthdaySelection.h"
#include "select/RecipientSelection.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>

SelectionController::SelectionController(ContactsPage &page, TDModule &module, RowDialogs &rowDialogs,
                                         RecipientSelection &selection, Dialogs &dialogs, Clock today,
                                         QObject *parent)
    : QObject(parent), page_(&page), module_(module), rowDialogs_(rowDialogs), selection_(selection),
      dialogs_(dialogs), today_(today ? std::move(today) : Clock([] { return QDate::currentDate(); })),
      commands_(module, selection) {
  setObjectName(QStringLiteral("SelectionController"));
  rowDialogs.setDialog(module.IBFilter,
                       [&module](QWidget *parent) { return new TFAddFilter(&module.IBFilter, parent); });
  connect(page.tbFilter, &QToolButton::clicked, this, &SelectionController::tbFilterClick);
  connect(page.PMFilter, &QMenu::aboutToShow, this, &SelectionController::PMFilterPopup);
}

SelectionController::~SelectionController() {
  rowDialogs_.setDialog(module_.IBFilter, {});
}

void SelectionController::tbFilterClick() {
  TFFilter dialog(module_.IBFields, module_.IBOper, commands_, page_ ? page_->window() : nullptr);
  dialog.exec();
}

void SelectionController::PMFilterPopup() {
  QMenu *menu = page_->PMFilter;
  menu->clear(); // deletes the items it owns
  using Action = FilterMenuItem::Action;
  for (const FilterMenuItem &entry : commands_.PMFilterPopup()) {
    // Plain actions: their captions are the filters' names and [Constant] texts, not
    // [TMenuItem] keys of their own.
    auto *item = new QAction(entry.caption, menu);
    item->setObjectName(entry.name);
    item->setProperty("tag", entry.tag);
    item->setSeparator(entry.separator);
    item->setEnabled(entry.enabled);
    item->setCheckable(entry.checked);
    item->setChecked(entry.checked);
    switch (entry.action) {
    case Action::ApplySaved:
      connect(item, &QAction::triggered, this, [this, item] { FilterClick(item); });
      break;
    case Action::BirthDay:
      connect(item, &QAction::triggered, this, &SelectionController::pmBirthDayClick);
      break;
    case Action::RemoveFilter:
      connect(item, &QAction::triggered, this, &SelectionController::BreakFiltClick);
      break;
    case Action::ListFilters:
      connect(item, &QAction::triggered, this, &SelectionController::ListFiltClick);
      break;
    case Action::None:
      break;
    }
    menu->addAction(item);
  }
}

void SelectionController::FilterClick(QAction *item) {
  commands_.FilterClick(item->property("tag").toInt());
}

void SelectionController::pmBirthDayClick() {
  ContactListFilter &list = commands_.contactList();
  try {
    const QDate today = today_();
    list.applyStatement(birthdaySelectSql(today));
    selection_.setCurrentFilter(birthdayCondition(today));
    return;
  } catch (const AppError &) {
    // The operator is told the selection failed; the database's text would not help here.
  }
  selection_.clearCurrentFilter();
  list.remove();
  dialogs_.message(LangConst().stError, LangConst().stParamFilter, Dialogs::Icon::Information);
}

void SelectionController::BreakFiltClick() {
  commands_.BreakFiltClick();
}

void SelectionController::ListFiltClick() {
  TFListFilter dialog(&module_.IBFilter, page_ ? page_->window() : nullptr);
  dialog.exec();
}
