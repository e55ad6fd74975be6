#pragma once
// Page 1: the groups and the contacts of the current group, with their tool bar.
#include <QTableView>
#include <QToolBar>

#include "gui/base/PageBuilder.h"

class ContactsPage : public NotifyingPage {
  Q_OBJECT
public:
  explicit ContactsPage(QWidget *parent = nullptr);

  QToolBar *ToolBar1;
  QToolButton *tbImport, *ToolButton3, *tbExport, *tbFilter, *ToolButton7, *tbFields, *ToolButton1;
  QToolButton *tbInsert, *tbEdit, *tbDelete;
  QMenu *PMImport, *PMExport, *PMFilter;
  MenuItem *pmCSV2, *pmMSOutlook, *pmEmail, *MSExcel1, *CSV1;
  QTableView *DBGridGroups, *DBGridContacts;
};
