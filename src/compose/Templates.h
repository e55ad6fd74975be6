#pragma once
// Saved templates: the template menu's items and the reads and writes of TEMPLATE.
#include <QList>
#include <QString>

class Transaction;

namespace templates {

// FTEXT holds at most this many characters; a longer text is stored cut.
constexpr qsizetype MaxTextLength = 2000;
inline QString textForStore(const QString &text) {
  return text.left(MaxTextLength);
}

struct Saved {
  qint32 id = 0;
  QString name;
};

// One item of the template menu, in menu order.
struct MenuItem {
  enum Kind { Template, Separator, Save, Edit };
  Kind kind = Template;
  QString name;
  QString caption;
  qint32 tag = 0;
};

// The saved templates in the given order, then the separator "MI_Space", "MI_Save" and
// "MI_Edit" with the captions of the two fixed items.
QList<MenuItem> menuItems(const QList<Saved> &saved, const QString &saveCaption, const QString &editCaption);

// FTEXT of the template with that key (NULL reads as empty). Throws DatabaseError when there
// is no such template, since the menu offered one that another change has removed.
QString loadText(Transaction &tr, qint32 id);

} // namespace templates
