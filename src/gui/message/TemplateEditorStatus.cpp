#include "gui/message/TemplateEditorStatus.h"

#include "common/Cp1251.h"
#include "compose/MessageCount.h"
#include "compose/Translit.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextBlock>

TemplateEditorStatus::TemplateEditorStatus(QPlainTextEdit *editor, QCheckBox *translit, QLabel *count,
                                           QObject *parent)
    : QObject(parent), editor_(editor), translit_(translit), count_(count) {
  connect(editor_, &QPlainTextEdit::textChanged, this, &TemplateEditorStatus::update);
  connect(translit_, &QCheckBox::toggled, this, &TemplateEditorStatus::update);
  update();
}

QString TemplateEditorStatus::countText(const QString &text, bool translit) {
  // Placeholders stay as typed: the count is that of the template itself.
  const QString counted = translit ? Translit(text) : text;
  const qint64 parts = message_count::partsOfText(counted, translit);
  return QStringLiteral("%1 / %2 SMS").arg(counted.size()).arg(parts);
}

void TemplateEditorStatus::update() {
  const QString text = editor_->toPlainText();
  QList<QTextEdit::ExtraSelection> marks;
  QTextCharFormat bad;
  bad.setBackground(Qt::red);
  bad.setForeground(Qt::white);
  const qsizetype first = cp1251::firstUnencodable(text);
  for (qsizetype i = first < 0 ? text.size() : first; i < text.size(); ++i) {
    const qsizetype width = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    if (!cp1251::canEncode(QStringView(text).mid(i, width))) {
      QTextEdit::ExtraSelection mark;
      mark.cursor = QTextCursor(editor_->document());
      mark.cursor.setPosition(int(i));
      mark.cursor.setPosition(int(i + width), QTextCursor::KeepAnchor);
      mark.format = bad;
      marks.append(mark);
    }
    i += width - 1;
  }
  editor_->setExtraSelections(marks);
  count_->setText(countText(text, translit_->isChecked()));
  count_->setStyleSheet(marks.isEmpty() ? QString() : QStringLiteral("color: red; font-weight: bold"));
  count_->setProperty("unencodable", int(marks.size()));
}
