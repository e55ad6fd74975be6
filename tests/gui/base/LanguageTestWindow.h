#pragma once
// A small window holding one control of every kind the language files address, plus the
// kinds they must leave alone, built the way the program's windows are built.
#include "gui/base/DBCheckBox.h"
#include "gui/base/Widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QWidget>

// A label kind of the test's own: derived classes never take their base class's section.
class DerivedLabel : public QLabel {
  Q_OBJECT
public:
  using QLabel::QLabel;
};

class LanguageTestWindow : public QWidget {
public:
  LanguageTestWindow();
  ~LanguageTestWindow() override { delete PMLoose; }

  QLabel *lbOne;
  DerivedLabel *lbDerived;
  QToolButton *tbOne;
  QPushButton *butOne;
  QGroupBox *gbxOne;
  QCheckBox *cbOne;
  DBCheckBox *dbcbOne;
  QComboBox *cbxOne;
  QTabWidget *PCOne;
  QWidget *TSOne, *TSTwo;
  QMenu *PMOne;
  MenuItem *miOne;
  QAction *ActOne;
  QMenu *PMLoose; // hung on tbOne without a parent
  MenuItem *miLoose;
  QDialog *FChild; // a window of its own, parented to this one
  QLabel *lbInChild;

  // The text a control shows, in one comparable string: a caption, a tab's text, a menu
  // item's text, or a list's items joined by "|" followed by " @" and the selected index.
  QString shown(const QString &name) const;
};
