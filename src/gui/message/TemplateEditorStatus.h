#pragma once
// The count beside the template editor ("characters / parts SMS", parts as the message count
// reckons them) and a red mark on every character the Windows Cyrillic code page cannot
// hold, so such a text is noticed before it is saved or sent (both refuse it).
#include <QObject>

class QCheckBox;
class QLabel;
class QPlainTextEdit;

class TemplateEditorStatus : public QObject {
  Q_OBJECT
public:
  TemplateEditorStatus(QPlainTextEdit *editor, QCheckBox *translit, QLabel *count, QObject *parent = nullptr);

  void update();
  // The count text for a template: "<characters> / <parts> SMS".
  static QString countText(const QString &text, bool translit);

private:
  QPlainTextEdit *editor_;
  QCheckBox *translit_;
  QLabel *count_;
};
