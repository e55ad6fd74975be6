#pragma once
// The count beside the template editor ("characters / parts SMS", parts as the message count
// reckons them) and a red mark on every character the Windows Cyrillic code page cannot
// hold, so such a text is noticed before it is saved or sent (both refuse it).
//
// A keystroke costs what the editor itself spends on it: the figures are kept per line
// (text block) and only the lines a change touches are looked at again, as the editor
// lays out only those.
#include <QObject>

#include <memory>

class QCheckBox;
class QLabel;
class QPlainTextEdit;

class TemplateEditorStatus : public QObject {
  Q_OBJECT
public:
  TemplateEditorStatus(QPlainTextEdit *editor, QCheckBox *translit, QLabel *count, QObject *parent = nullptr);
  ~TemplateEditorStatus() override;

  // Looks at every line again: after the transliteration box or table changed.
  void refresh();
  // Shows the figures as they stand.
  void update();
  // The count text for a template: "<characters> / <parts> SMS".
  static QString countText(const QString &text, bool translit);

  struct Totals;

private:
  class Marker;
  QPlainTextEdit *editor_;
  QCheckBox *translit_;
  QLabel *count_;
  std::shared_ptr<Totals> totals_;
  Marker *marker_;
};
