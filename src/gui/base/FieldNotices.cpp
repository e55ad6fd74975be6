#include "gui/base/FieldNotices.h"

#include "common/Cp1251.h"
#include "common/Dialogs.h"
#include "common/LangConstants.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QValidator>

namespace field_notices {

namespace {

void tell(const QString &text) {
  Dialogs::instance().message(QStringLiteral("Brisklane"), GetIniText(text), Dialogs::Icon::Warning);
}

// Cuts the text at the limit and has the edit tell the operator; the edit's own maximum
// would drop the rest without a word.
class CutValidator : public QValidator {
public:
  CutValidator(QLineEdit *edit, int maxLength) : QValidator(edit), edit_(edit), maxLength_(maxLength) {}

  void setMaxLength(int maxLength) { maxLength_ = maxLength; }

  State validate(QString &input, int &pos) const override {
    if (maxLength_ <= 0 || input.size() <= maxLength_) {
      if (input.size() < maxLength_)
        told_ = false; // the next overflow is told again
      return Acceptable;
    }
    const qsizetype length = input.size();
    input.truncate(maxLength_);
    pos = std::min(pos, maxLength_);
    if (!told_) {
      told_ = true;
      // Told once the edit has taken the cut text, outside its key handling.
      QTimer::singleShot(0, edit_, [edit = edit_, kept = maxLength_, length] {
        if (edit)
          tellCut(captionOf(edit.data()), kept, length);
      });
    }
    return Acceptable;
  }

private:
  QPointer<QLineEdit> edit_;
  int maxLength_;
  mutable bool told_ = false;
};

} // namespace

QString captionOf(const QLabel *label) {
  return plainCaption(label->text());
}

QString plainCaption(QString text) {
  text.remove(u'&');
  text = text.trimmed();
  while (text.endsWith(u':'))
    text.chop(1);
  return text.trimmed();
}

QString captionOf(const QWidget *control) {
  if (const QWidget *window = control->window())
    for (const QLabel *label : window->findChildren<QLabel *>())
      if (label->buddy() == control)
        return captionOf(label);
  return control->objectName();
}

bool refuseUnstorable(const QString &caption, const QString &text) {
  const QString bad = cp1251::firstUnencodableCharacter(text);
  if (bad.isEmpty())
    return false;
  tell(LangConst().stCharField.arg(caption, bad));
  return true;
}

void requireFilled(const QString &caption) {
  tell(LangConst().stRequired.arg(caption));
}

void tellCut(const QString &caption, qsizetype kept, qsizetype length) {
  tell(LangConst().stCut.arg(caption, QString::number(kept), QString::number(length)));
}

void limitLength(QLineEdit *edit, int maxLength) {
  edit->setMaxLength(32767); // the validator cuts, and says so
  if (auto *cut = dynamic_cast<CutValidator *>(const_cast<QValidator *>(edit->validator()))) {
    cut->setMaxLength(maxLength);
    return;
  }
  edit->setValidator(new CutValidator(edit, maxLength));
}

} // namespace field_notices
