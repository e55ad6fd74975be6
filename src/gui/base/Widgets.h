#pragma once
// Small widget kinds the language files and the pages need to tell apart.
#include <QAction>
#include <QComboBox>
#include <QLabel>

// A menu item: an action that belongs to a menu. The language files address menu items
// under [TMenuItem]; plain actions (the record actions) get no text from them.
class MenuItem : public QAction {
  Q_OBJECT
public:
  MenuItem(const QString &name, const QString &caption, QObject *parent) : QAction(caption, parent) {
    setObjectName(name);
  }
};

// A drop-down list bound to a data set (a group lookup). Not a [TComboBox]: its items come
// from the data, never from the language file.
class DBLookupComboBox : public QComboBox {
  Q_OBJECT
public:
  using QComboBox::QComboBox;
};

// A picture (an icon of the navigation column, the about page's image). Not a [TLabel]:
// pictures get no text from the language file.
class ImageBox : public QLabel {
  Q_OBJECT
public:
  using QLabel::QLabel;
};

// A page that reports when it becomes visible or stops being visible.
class NotifyingPage : public QWidget {
  Q_OBJECT
public:
  explicit NotifyingPage(const QString &name, QWidget *parent = nullptr) : QWidget(parent) {
    setObjectName(name);
  }
signals:
  void shown();
  void hidden();

protected:
  void showEvent(QShowEvent *event) override;
  void hideEvent(QHideEvent *event) override;
};
