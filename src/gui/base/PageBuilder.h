#pragma once
// Helpers that create named controls: every control the language files or other parts of the
// program address carries its component name as objectName.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

#include "gui/base/Widgets.h"

namespace ui {

template <class W, class... Args> W *make(QWidget *parent, const QString &name, Args &&...args) {
  auto *w = new W(std::forward<Args>(args)..., parent);
  w->setObjectName(name);
  return w;
}

inline QLabel *label(QWidget *parent, const QString &name, const QString &caption) {
  return make<QLabel>(parent, name, caption);
}
inline QPushButton *button(QWidget *parent, const QString &name, const QString &caption) {
  return make<QPushButton>(parent, name, caption);
}
inline QCheckBox *checkBox(QWidget *parent, const QString &name, const QString &caption) {
  return make<QCheckBox>(parent, name, caption);
}
inline QGroupBox *groupBox(QWidget *parent, const QString &name, const QString &caption) {
  return make<QGroupBox>(parent, name, caption);
}
inline QLineEdit *edit(QWidget *parent, const QString &name) {
  return make<QLineEdit>(parent, name);
}
QPlainTextEdit *memo(QWidget *parent, const QString &name, bool readOnly = false);
QToolButton *toolButton(QWidget *parent, const QString &name, const QString &caption, const QIcon &icon = {});
// A tool button whose arrow opens its drop-down menu.
QToolButton *menuButton(QWidget *parent, const QString &name, const QString &caption, QMenu *menu,
                        const QIcon &icon = {});
// A thin divider in a tool bar, kept as a named tool button.
QToolButton *toolSeparator(QWidget *parent, const QString &name);
QMenu *menu(QWidget *parent, const QString &name);
MenuItem *menuItem(QMenu *menu, const QString &name, const QString &caption);

} // namespace ui
