#include "gui/contacts/ContactsPage.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

namespace {
QTableView *grid(QWidget *parent, const QString &name) {
  auto *g = ui::make<QTableView>(parent, name);
  g->setEditTriggers(QAbstractItemView::NoEditTriggers);
  g->setSelectionBehavior(QAbstractItemView::SelectRows);
  g->setSelectionMode(QAbstractItemView::SingleSelection);
  g->setTabKeyNavigation(true);
  g->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  g->verticalHeader()->setDefaultSectionSize(22);
  return g;
}
} // namespace

ContactsPage::ContactsPage(QWidget *parent) : NotifyingPage("TS1", parent) {
  ToolBar1 = ui::make<QToolBar>(this, "ToolBar1");
  ToolBar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);

  PMImport = ui::menu(this, "PMImport");
  pmCSV2 = ui::menuItem(PMImport, "pmCSV2", "CSV");
  pmMSOutlook = ui::menuItem(PMImport, "pmMSOutlook", "MS Outlook");
  pmEmail = ui::menuItem(PMImport, "pmEmail", "E-mail");
  PMExport = ui::menu(this, "PMExport");
  MSExcel1 = ui::menuItem(PMExport, "MSExcel1", "MS Excel");
  CSV1 = ui::menuItem(PMExport, "CSV1", "CSV");
  PMFilter = ui::menu(this, "PMFilter");

  const QStyle *s = style();
  tbImport =
      ui::menuButton(ToolBar1, "tbImport", "Импорт", PMImport, s->standardIcon(QStyle::SP_DialogOpenButton));
  ToolButton3 = ui::toolSeparator(ToolBar1, "ToolButton3");
  tbExport =
      ui::menuButton(ToolBar1, "tbExport", "Экспорт", PMExport, s->standardIcon(QStyle::SP_DialogSaveButton));
  tbFilter = ui::menuButton(ToolBar1, "tbFilter", "Фильтр", PMFilter,
                            s->standardIcon(QStyle::SP_FileDialogContentsView));
  ToolButton7 = ui::toolSeparator(ToolBar1, "ToolButton7");
  tbFields = ui::toolButton(ToolBar1, "tbFields", "Поля", s->standardIcon(QStyle::SP_FileDialogDetailedView));
  ToolButton1 = ui::toolSeparator(ToolBar1, "ToolButton1");
  tbInsert =
      ui::toolButton(ToolBar1, "tbInsert", "Добавить", s->standardIcon(QStyle::SP_FileDialogNewFolder));
  tbEdit =
      ui::toolButton(ToolBar1, "tbEdit", "Редактировать", s->standardIcon(QStyle::SP_FileDialogInfoView));
  tbDelete = ui::toolButton(ToolBar1, "tbDelete", "Удалить", s->standardIcon(QStyle::SP_TrashIcon));
  for (QToolButton *b : {tbImport, ToolButton3, tbExport, tbFilter, ToolButton7, tbFields, ToolButton1,
                         tbInsert, tbEdit, tbDelete})
    ToolBar1->addWidget(b);

  DBGridGroups = grid(this, "DBGridGroups");
  DBGridGroups->setFixedWidth(153);
  DBGridContacts = grid(this, "DBGridContacts");

  auto *grids = new QHBoxLayout;
  grids->addWidget(DBGridGroups);
  grids->addWidget(DBGridContacts, 1);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(ToolBar1);
  layout->addLayout(grids, 1);
}
