#pragma once
// Errors travel as exceptions carrying the library's own message; the general error report
// (and a dialog's failed post) shows className() and text().
#include <QString>
#include <stdexcept>

class AppError : public std::runtime_error {
public:
  explicit AppError(const QString &text) : std::runtime_error(text.toStdString()), text_(text) {}
  const QString &text() const { return text_; }
  virtual QString className() const { return QStringLiteral("AppError"); }

private:
  QString text_;
};

// Declares a named error kind: BL_ERROR_CLASS(DatabaseError, AppError)
#define BL_ERROR_CLASS(Name, Base)                                                                           \
  class Name : public Base {                                                                                 \
  public:                                                                                                    \
    using Base::Base;                                                                                        \
    QString className() const override { return QStringLiteral(#Name); }                                     \
  };

// Ends the current operation without any message (a refused confirmation, for instance).
// The general error report ignores it.
class SilentAbort : public std::exception {
public:
  const char *what() const noexcept override { return "operation cancelled"; }
};
