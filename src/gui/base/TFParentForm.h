#pragma once
// Base of the program's dialogs: the current language is put onto the dialog once its
// controls exist, before it is shown.
#include <QDialog>

class TFParentForm : public QDialog {
  Q_OBJECT
public:
  // formName is the window's name, the key of its caption in section [TForm].
  explicit TFParentForm(const QString &formName, QWidget *parent = nullptr);

protected:
  // Call at the end of the subclass constructor, after all controls are created.
  void applyLanguage();
};
