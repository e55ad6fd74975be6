#include "LanguageTestWindow.h"

#include <QVBoxLayout>

namespace {
template <typename T, typename... Args> T *named(const QString &name, Args &&...args) {
  auto *object = new T(std::forward<Args>(args)...);
  object->setObjectName(name);
  return object;
}
} // namespace

LanguageTestWindow::LanguageTestWindow() {
  setObjectName("FTest");
  setWindowTitle("design title");
  auto *layout = new QVBoxLayout(this);

  lbOne = named<QLabel>("lbOne", "design label", this);
  lbDerived = named<DerivedLabel>("lbDerived", "design derived", this);
  tbOne = named<QToolButton>("tbOne", this);
  tbOne->setText("design tool");
  butOne = named<QPushButton>("butOne", "design button", this);
  gbxOne = named<QGroupBox>("gbxOne", "design frame", this);
  cbOne = named<QCheckBox>("cbOne", "design check", gbxOne);
  dbcbOne = named<DBCheckBox>("dbcbOne", "design db check", gbxOne);
  cbxOne = named<QComboBox>("cbxOne", gbxOne);
  cbxOne->addItems({"x", "y"});
  cbxOne->setCurrentIndex(1);
  auto *frameLayout = new QVBoxLayout(gbxOne);
  for (QWidget *w : std::initializer_list<QWidget *>{cbOne, dbcbOne, cbxOne})
    frameLayout->addWidget(w);

  PCOne = named<QTabWidget>("PCOne", this);
  TSOne = named<QWidget>("TSOne");
  TSTwo = named<QWidget>("TSTwo");
  PCOne->addTab(TSOne, "design page one");
  PCOne->addTab(TSTwo, "design page two");
  PCOne->setTabVisible(1, false); // a page the operator cannot select
  PCOne->tabBar()->hide();

  PMOne = named<QMenu>("PMOne", this);
  miOne = new MenuItem("miOne", "design item", PMOne);
  PMOne->addAction(miOne);
  ActOne = named<QAction>("ActOne", "design action", this);
  addAction(ActOne);
  PMLoose = named<QMenu>("PMLoose");
  miLoose = new MenuItem("miLoose", "design loose item", PMLoose);
  PMLoose->addAction(miLoose);
  tbOne->setMenu(PMLoose);

  FChild = named<QDialog>("FChild", this);
  lbInChild = named<QLabel>("lbInChild", "design child label", FChild);

  for (QWidget *w : std::initializer_list<QWidget *>{lbOne, lbDerived, tbOne, butOne, gbxOne, PCOne})
    layout->addWidget(w);
}

QString LanguageTestWindow::shown(const QString &name) const {
  if (name == objectName())
    return windowTitle();
  if (name == "TSOne" || name == "TSTwo")
    return PCOne->tabText(PCOne->indexOf(findChild<QWidget *>(name)));
  if (name == "miLoose")
    return miLoose->text();
  QObject *object = findChild<QObject *>(name);
  if (!object)
    return "no control " + name;
  if (auto *combo = qobject_cast<QComboBox *>(object)) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
      items << combo->itemText(i);
    return items.join("|") + " @" + QString::number(combo->currentIndex());
  }
  if (auto *label = qobject_cast<QLabel *>(object))
    return label->text();
  if (auto *group = qobject_cast<QGroupBox *>(object))
    return group->title();
  if (auto *button = qobject_cast<QAbstractButton *>(object))
    return button->text();
  if (auto *action = qobject_cast<QAction *>(object))
    return action->text();
  return "unknown kind " + name;
}
