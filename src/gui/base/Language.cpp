#include "gui/base/Language.h"
#include "gui/base/LanguageKeys.h"

#include "common/Dialogs.h"
#include "common/LangConstants.h"
#include "compose/Translit.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSet>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <functional>

// Which controls get which text:
// - A page of a QTabWidget, whatever its own class, is a [TTabSheet]: its tab text is set,
//   also while the tab bar or the tab itself is hidden.
// - Any other object is looked up by its exact class name (metaObject()->className()), so a
//   subclass never takes its base class's section: a DBCheckBox is a [TDBCheckBox], never a
//   [TCheckBox]; an ImageBox or DBLookupComboBox gets nothing.
// - Menu items are the MenuItem actions; plain QActions (the record actions) get nothing.
// - Child windows (dialogs parented to the window) are their own windows and are skipped;
//   menus are not, and neither is a parentless menu hung on a button.

namespace {

enum class Kind { Caption, GroupTitle, PageCaption, MenuText, ComboItems };

struct ClassSection {
  const char *className;
  const char *section;
  Kind kind;
};

constexpr ClassSection classSections[] = {
    {"QLabel", "TLabel", Kind::Caption},          {"QToolButton", "TToolButton", Kind::Caption},
    {"QPushButton", "TButton", Kind::Caption},    {"QGroupBox", "TGroupBox", Kind::GroupTitle},
    {"QCheckBox", "TCheckBox", Kind::Caption},    {"DBCheckBox", "TDBCheckBox", Kind::Caption},
    {"QComboBox", "TComboBox", Kind::ComboItems}, {"MenuItem", "TMenuItem", Kind::MenuText},
};

const ClassSection *sectionOf(const QObject *object) {
  const char *name = object->metaObject()->className();
  for (const auto &entry : classSections)
    if (qstrcmp(entry.className, name) == 0)
      return &entry;
  return nullptr;
}

QTabWidget *tabWidgetOfPage(QWidget *widget) {
  auto *stack = qobject_cast<QStackedWidget *>(widget->parentWidget());
  auto *tabs = stack ? qobject_cast<QTabWidget *>(stack->parentWidget()) : nullptr;
  return (tabs && tabs->indexOf(widget) >= 0) ? tabs : nullptr;
}

// An empty value leaves the list; otherwise the list becomes the non-empty pieces between
// the code-4 separators (untrimmed), and the first one is selected.
void setComboItems(QComboBox *combo, const QString &value) {
  combo->clear();
  combo->addItems(value.split(QChar(4), Qt::SkipEmptyParts));
  combo->setCurrentIndex(combo->count() > 0 ? 0 : -1);
}

void applyValue(QObject *object, Kind kind, const QString &value) {
  switch (kind) {
  case Kind::Caption:
    if (auto *label = qobject_cast<QLabel *>(object))
      label->setText(value);
    else if (auto *button = qobject_cast<QAbstractButton *>(object))
      button->setText(value);
    break;
  case Kind::GroupTitle:
    static_cast<QGroupBox *>(object)->setTitle(value);
    break;
  case Kind::PageCaption: {
    auto *page = static_cast<QWidget *>(object);
    QTabWidget *tabs = tabWidgetOfPage(page);
    tabs->setTabText(tabs->indexOf(page), value);
    break;
  }
  case Kind::MenuText:
    static_cast<QAction *>(object)->setText(value);
    break;
  case Kind::ComboItems:
    setComboItems(static_cast<QComboBox *>(object), value);
    break;
  }
}

// Visits, in creation order, every control and menu item of a window that a language
// file addresses, with the section that addresses it.
class LanguageWalker {
public:
  using Visit = std::function<void(QObject *object, const QString &section, Kind kind)>;
  explicit LanguageWalker(Visit visit) : visit_(std::move(visit)) {}

  void walkChildren(QObject *owner) {
    for (QObject *child : owner->children())
      visit(child);
  }

private:
  void visit(QObject *object) {
    if (visited_.contains(object))
      return;
    visited_.insert(object);
    auto *widget = qobject_cast<QWidget *>(object);
    if (widget && widget->isWindow() && !qobject_cast<QMenu *>(widget))
      return; // a window of its own: it applies its language itself
    classify(object, widget);
    if (qobject_cast<QTabBar *>(object))
      return; // its scroll buttons are Qt's, not the window's
    walkChildren(object);
    if (auto *button = qobject_cast<QToolButton *>(object); button && button->menu())
      visit(button->menu());
    else if (auto *push = qobject_cast<QPushButton *>(object); push && push->menu())
      visit(push->menu());
  }

  void classify(QObject *object, QWidget *widget) {
    const QString name = object->objectName();
    if (name.isEmpty() || name.startsWith(QLatin1String("qt_"))) // Qt's own inner parts
      return;
    if (widget && tabWidgetOfPage(widget))
      visit_(object, QStringLiteral("TTabSheet"), Kind::PageCaption);
    else if (const ClassSection *entry = sectionOf(object))
      visit_(object, QString::fromLatin1(entry->section), entry->kind);
  }

  Visit visit_;
  QSet<QObject *> visited_;
};

// What the operator was last told about the files of the language, so that the dialogs,
// which apply the language again as they are created, do not repeat it.
QString &lastLanguageReport() {
  static QString text;
  return text;
}

} // namespace

QList<LanguageKey> languageKeysOf(QWidget *window) {
  QList<LanguageKey> keys;
  LanguageWalker([&keys](QObject *object, const QString &section, Kind) {
    keys.append({section, object->objectName()});
  }).walkChildren(window);
  return keys;
}

void SetLangForm(const QString &lang, QWidget *window) {
  window->setWindowTitle(langText(lang, QStringLiteral("TForm"), window->objectName()));
}

void SetLang(const QString &lang, QWidget *window, LanguageReport report) {
  QStringList problems;
  {
    WaitCursor busy;
    const auto ini = langFile(lang);
    LanguageWalker([&ini](QObject *object, const QString &section, Kind kind) {
      const QString value = ini->readString(section, object->objectName());
      if (!value.isEmpty()) // an empty value keeps the design-time text or list
        applyValue(object, kind, value);
    }).walkChildren(window);
    LoadLangConst(lang);
    // Described after the constants are loaded, so in the texts now in force.
    if (const TextFileProblem problem = langFileProblem(lang); !problem.ok())
      problems << GetIniText(LangConst().stLangFile)
                      .arg(QDir::toNativeSeparators(langFilePath(lang)), problem.describe());
    try {
      LoadTranslit(lang);
    } catch (const TranslitFileError &error) {
      problems << error.text();
    }
  }
  // Reported after the wait cursor is gone; the window carries on with what it has.
  const QString text = problems.join(QStringLiteral("\n\n"));
  if (text.isEmpty()) {
    lastLanguageReport().clear();
    return;
  }
  if (report == LanguageReport::Once && text == lastLanguageReport())
    return;
  lastLanguageReport() = text;
  Dialogs::instance().message(QStringLiteral("Brisklane"), text, Dialogs::Icon::Warning);
}
