#pragma once
// The recipient scope on the message page: cbAll (all groups), cbGroup (one group) and the
// group choice dblcListGroup, kept in step with the RecipientSelection that the preview and
// the dispatch read. Exactly one box is ticked; ticking cbGroup (or unticking cbAll) takes
// the group current in the group list, and the choice is enabled only then.
//
// The choice lists every group of the group data set, by name, keyed by ID, and follows its
// changes. A chosen group that is deleted leaves no group chosen, so the scope then reaches
// nobody by mistake: the recipient query is refused until a group is picked again.
#include <QObject>
#include <QPointer>

class DataSet;
class DBLookupComboBox;
class MessagePage;
class QCheckBox;
class RecipientSelection;

class RecipientScopeBoxes : public QObject {
  Q_OBJECT
public:
  // groups: IBGroups, or null without a database (the choice then stays empty).
  RecipientScopeBoxes(MessagePage &page, DataSet *groups, RecipientSelection &selection,
                      QObject *parent = nullptr);

  void cbAllClick();
  void cbGroupClick();
  // The operator picked the group at this position of the choice.
  void dblcListGroupChange(int index);
  // Reads the groups into the choice again, keeping the chosen one while it exists.
  void refillGroupList();

private:
  QVariant currentGroupId() const;
  void showScope();

  QPointer<QCheckBox> cbAll_, cbGroup_;
  QPointer<DBLookupComboBox> list_;
  QPointer<DataSet> groups_;
  RecipientSelection &selection_;
  bool refilling_ = false;
};
