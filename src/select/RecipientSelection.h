#pragma once
// Who a dispatch or a preview reaches: the recipient scope of the message page (all groups,
// or one chosen group) and the condition in force (CurrentFilter). One object lives as
// long as the main window; the contacts page, the message page, the preview and the
// dispatch are each given it. They read it at the moment they run.
//
// Scope: exactly one of "all groups" (cbAll) and "one group" (cbGroup) is ticked; all
// groups at start, with no group chosen. The chosen group is the key shown in the group
// choice (dblcListGroup), not the group selected on the contacts page, so a filter built
// while one group was shown applies to every group while "all groups" is ticked.
#include "compose/RecipientQuery.h"

#include <QObject>
#include <QString>
#include <QVariant>

class RecipientSelection : public QObject {
  Q_OBJECT
public:
  explicit RecipientSelection(QObject *parent = nullptr);

  // The condition in force over CONTACTS columns, without WHERE; empty when none.
  const QString &currentFilter() const { return currentFilter_; }
  void setCurrentFilter(const QString &condition);
  void clearCurrentFilter() { setCurrentFilter(QString()); }

  bool allTicked() const { return !group_; }
  bool groupTicked() const { return group_; }
  // The chosen group's ID; invalid while all groups are ticked or no group is chosen.
  QVariant groupId() const { return groupId_; }

  // The operator clicked cbAll / cbGroup; ticked is the box's new state. currentGroupId is
  // the ID of the group current in the group list (invalid when it has none). Ticking
  // cbGroup, or unticking cbAll, chooses that group; ticking cbAll, or unticking cbGroup,
  // clears the choice.
  void cbAllClick(bool ticked, const QVariant &currentGroupId);
  void cbGroupClick(bool ticked, const QVariant &currentGroupId);
  // The operator picked another group in the group choice (only while cbGroup is ticked).
  void chooseGroup(const QVariant &groupId);

  RecipientScope scope() const;
  // The recipients of the preview and the dispatch: the scope narrowed by CurrentFilter.
  QString recipientQuery(const QString &columns) const;
  // The whole scope, whatever filter is in force: what the message count covers.
  QString countQuery(const QString &columns) const;

signals:
  void currentFilterChanged(const QString &condition);
  // The ticked box or the chosen group changed: the message page shows the state again.
  void scopeChanged();

private:
  void setScope(bool group, const QVariant &groupId);

  QString currentFilter_;
  bool group_ = false;
  QVariant groupId_;
};
