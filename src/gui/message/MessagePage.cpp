#include "gui/message/MessagePage.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

MessagePage::MessagePage(QWidget *parent) : NotifyingPage("TS2", parent) {
  const QStyle *s = style();
  PMTemplate = ui::menu(this, "PMTemplate");
  PMFields = ui::menu(this, "PMFields");
  lbTempl = ui::label(this, "lbTempl", "Текст сообщения");
  tbTemplate = ui::menuButton(this, "tbTemplate", "Шаблоны", PMTemplate, s->standardIcon(QStyle::SP_DirIcon));
  tbTemplFields =
      ui::menuButton(this, "tbTemplFields", "Поля", PMFields, s->standardIcon(QStyle::SP_FileDialogListView));
  mmTemplate = ui::memo(this, "mmTemplate");
  cbTranslit = ui::checkBox(this, "cbTranslit", "Транслитерация");
  cbFlashAll = ui::checkBox(this, "cbFlashAll", "Flash-сообщение");
  lbPrev = ui::label(this, "lbPrev", "Пример сообщения");
  mmPreview = ui::memo(this, "mmPreview", true);
  butPrRef = ui::button(this, "butPrRef", "Обновить");
  butCount = ui::button(this, "butCount", "Подсчитать");

  gbxSelectGroup = ui::groupBox(this, "gbxSelectGroup", "Получатели");
  cbAll = ui::checkBox(gbxSelectGroup, "cbAll", "Все группы");
  cbGroup = ui::checkBox(gbxSelectGroup, "cbGroup", "Группа");
  dblcListGroup = ui::make<DBLookupComboBox>(gbxSelectGroup, "dblcListGroup");
  cbAll->setChecked(true);
  dblcListGroup->setEnabled(false);
  auto *scope = new QGridLayout(gbxSelectGroup);
  scope->addWidget(cbAll, 0, 0);
  scope->addWidget(cbGroup, 1, 0);
  scope->addWidget(dblcListGroup, 1, 1);
  scope->setColumnStretch(1, 1);

  auto *tools = new QHBoxLayout;
  tools->addWidget(lbTempl);
  tools->addStretch();
  tools->addWidget(tbTemplate);
  tools->addWidget(tbTemplFields);
  auto *options = new QHBoxLayout;
  options->addWidget(cbTranslit);
  options->addWidget(cbFlashAll);
  options->addStretch();
  auto *previewButtons = new QHBoxLayout;
  previewButtons->addWidget(lbPrev);
  previewButtons->addStretch();
  previewButtons->addWidget(butPrRef);
  previewButtons->addWidget(butCount);

  auto *layout = new QVBoxLayout(this);
  layout->addLayout(tools);
  layout->addWidget(mmTemplate, 3);
  layout->addLayout(options);
  layout->addLayout(previewButtons);
  layout->addWidget(mmPreview, 2);
  layout->addWidget(gbxSelectGroup);
}
