#include "gui/base/QtDialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "gui/base/LineBreaks.h"
#include <QUrl>

namespace {
QMessageBox::Icon toQt(Dialogs::Icon icon) {
  switch (icon) {
  case Dialogs::Icon::Question:
    return QMessageBox::Question;
  case Dialogs::Icon::Warning:
    return QMessageBox::Warning;
  case Dialogs::Icon::Error:
    return QMessageBox::Critical;
  case Dialogs::Icon::Information:
    break;
  }
  return QMessageBox::Information;
}
} // namespace

void QtDialogs::message(const QString &title, const QString &text, Icon icon) {
  QMessageBox box(toQt(icon), title, withLineBreaks(text), QMessageBox::Ok, QApplication::activeWindow());
  box.exec();
}

bool QtDialogs::confirm(const QString &title, const QString &text) {
  QMessageBox box(QMessageBox::Question, title, withLineBreaks(text), QMessageBox::Ok | QMessageBox::Cancel,
                  QApplication::activeWindow());
  box.setDefaultButton(QMessageBox::Cancel);
  box.setEscapeButton(QMessageBox::Cancel);
  return box.exec() == QMessageBox::Ok;
}

QString QtDialogs::openFileName(const QString &caption, const QString &filter) {
  return QFileDialog::getOpenFileName(QApplication::activeWindow(), caption, {}, filter);
}

QString QtDialogs::saveFileName(const QString &caption, const QString &filter, const QString &defaultSuffix) {
  QFileDialog dialog(QApplication::activeWindow(), caption, {}, filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(defaultSuffix);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return {};
  return dialog.selectedFiles().first();
}

void QtDialogs::setWaitCursor(bool on) {
  if (on)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

bool QtDialogs::openDocument(const QString &path) {
  return QFileInfo::exists(path) && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
