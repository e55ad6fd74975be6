#include "gui/base/PageBuilder.h"

namespace ui {

QPlainTextEdit *memo(QWidget *parent, const QString &name, bool readOnly) {
  auto *m = make<QPlainTextEdit>(parent, name);
  m->setReadOnly(readOnly);
  return m;
}

QToolButton *toolButton(QWidget *parent, const QString &name, const QString &caption, const QIcon &icon) {
  auto *b = make<QToolButton>(parent, name);
  b->setText(caption);
  b->setIcon(icon);
  b->setToolButtonStyle(icon.isNull() ? Qt::ToolButtonTextOnly : Qt::ToolButtonTextUnderIcon);
  b->setAutoRaise(true);
  return b;
}

QToolButton *menuButton(QWidget *parent, const QString &name, const QString &caption, QMenu *menu,
                        const QIcon &icon) {
  auto *b = toolButton(parent, name, caption, icon);
  b->setMenu(menu);
  b->setPopupMode(QToolButton::MenuButtonPopup);
  return b;
}

QToolButton *toolSeparator(QWidget *parent, const QString &name) {
  auto *b = make<QToolButton>(parent, name);
  b->setEnabled(false);
  b->setAutoRaise(true);
  b->setFixedWidth(8);
  b->setFocusPolicy(Qt::NoFocus);
  return b;
}

QMenu *menu(QWidget *parent, const QString &name) {
  return make<QMenu>(parent, name);
}

MenuItem *menuItem(QMenu *menu, const QString &name, const QString &caption) {
  auto *item = new MenuItem(name, caption, menu);
  menu->addAction(item);
  return item;
}

} // namespace ui
