#pragma once
// Page 2: the template editor with its menus, the short preview, counting and the recipients.
#include <QGroupBox>

#include "gui/base/PageBuilder.h"

class MessagePage : public NotifyingPage {
  Q_OBJECT
public:
  explicit MessagePage(QWidget *parent = nullptr);

  QLabel *lbTempl, *lbPrev;
  QPlainTextEdit *mmTemplate, *mmPreview;
  QToolButton *tbTemplate, *tbTemplFields;
  QMenu *PMTemplate, *PMFields;
  QCheckBox *cbTranslit, *cbFlashAll;
  QPushButton *butPrRef, *butCount;
  QGroupBox *gbxSelectGroup;
  QCheckBox *cbAll, *cbGroup;
  DBLookupComboBox *dblcListGroup;
};
