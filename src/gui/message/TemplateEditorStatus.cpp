#include "gui/message/TemplateEditorStatus.h"

#include "common/Cp1251.h"
#include "compose/MessageCount.h"
#include "compose/Translit.h"
#include "gsm/SmsSplit.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSyntaxHighlighter>
#include <QTextBlock>

#include <optional>

namespace {

// The figures of one line as it will be sent (transliterated when the box is ticked).
struct LineFigures {
  qint64 characters = 0;
  qint64 septets = 0; // when every character has a GSM septet
  qint64 notGsm = 0;  // 1 when some character has none
  qint64 unencodable = 0;
};

// A line's text as the editor's plain text gives it: a no-break space reads as a blank and
// a line separator as a line break.
QString asPlainText(QString text) {
  for (QChar &c : text) {
    if (c == QChar::Nbsp)
      c = u' ';
    else if (c == QChar::LineSeparator || c.unicode() == 0xfdd0 || c.unicode() == 0xfdd1)
      c = u'\n';
  }
  return text;
}

} // namespace

// The whole template's figures: the sum over its lines, kept up to date by the lines
// themselves as they are looked at again or removed.
struct TemplateEditorStatus::Totals {
  LineFigures sum;
  qint64 lines = 0;

  void add(const LineFigures &f, int sign) {
    sum.characters += sign * f.characters;
    sum.septets += sign * f.septets;
    sum.notGsm += sign * f.notGsm;
    sum.unencodable += sign * f.unencodable;
    lines += sign;
  }
};

namespace {

// Kept with each line of the document; taken out of the totals when the line goes.
class LineData : public QTextBlockUserData {
public:
  LineData(std::shared_ptr<TemplateEditorStatus::Totals> totals, const LineFigures &figures)
      : totals_(std::move(totals)), figures_(figures) {
    totals_->add(figures_, +1);
  }
  ~LineData() override { totals_->add(figures_, -1); }
  void set(const LineFigures &figures) {
    totals_->add(figures_, -1);
    figures_ = figures;
    totals_->add(figures_, +1);
  }

private:
  std::shared_ptr<TemplateEditorStatus::Totals> totals_;
  LineFigures figures_;
};

} // namespace

// Looks at the lines the editor changed: marks the characters cp1251 lacks and counts.
class TemplateEditorStatus::Marker : public QSyntaxHighlighter {
public:
  Marker(QTextDocument *document, std::shared_ptr<Totals> totals, QCheckBox *translit)
      : QSyntaxHighlighter(document), totals_(std::move(totals)), translit_(translit) {
    bad_.setBackground(Qt::red);
    bad_.setForeground(Qt::white);
  }

protected:
  void highlightBlock(const QString &raw) override {
    const QString text = asPlainText(raw);
    LineFigures figures;
    for (qsizetype i = 0; i < text.size();) {
      const qsizetype width = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
      if (!cp1251::canEncode(QStringView(text).mid(i, width))) {
        qsizetype end = i + width; // one mark per run of such characters
        ++figures.unencodable;
        while (end < text.size()) {
          const qsizetype w = text[end].isHighSurrogate() && end + 1 < text.size() ? 2 : 1;
          if (cp1251::canEncode(QStringView(text).mid(end, w)))
            break;
          ++figures.unencodable;
          end += w;
        }
        setFormat(int(i), int(end - i), bad_);
        i = end;
      } else {
        i += width;
      }
    }
    const bool transliterated = translit_->isChecked();
    const QString counted = transliterated ? Translit(text) : text;
    figures.characters = counted.size();
    if (const std::optional<int> septets = sms_split::septetLength(counted))
      figures.septets = *septets;
    else
      figures.notGsm = 1;
    if (auto *data = static_cast<LineData *>(currentBlockUserData()))
      data->set(figures);
    else
      setCurrentBlockUserData(new LineData(totals_, figures));
  }

private:
  std::shared_ptr<Totals> totals_;
  QCheckBox *translit_;
  QTextCharFormat bad_;
};

TemplateEditorStatus::TemplateEditorStatus(QPlainTextEdit *editor, QCheckBox *translit, QLabel *count,
                                           QObject *parent)
    : QObject(parent), editor_(editor), translit_(translit), count_(count),
      totals_(std::make_shared<Totals>()), marker_(new Marker(editor->document(), totals_, translit)) {
  marker_->setParent(this);
  connect(editor_, &QPlainTextEdit::textChanged, this, &TemplateEditorStatus::update);
  connect(translit_, &QCheckBox::toggled, this, &TemplateEditorStatus::refresh);
  refresh();
}

// The lines keep the totals alive for as long as the editor lives on.
TemplateEditorStatus::~TemplateEditorStatus() = default;

QString TemplateEditorStatus::countText(const QString &text, bool translit) {
  // Placeholders stay as typed: the count is that of the template itself.
  const QString counted = translit ? Translit(text) : text;
  const qint64 parts = message_count::partsOfText(counted, translit);
  return QStringLiteral("%1 / %2 SMS").arg(counted.size()).arg(parts);
}

void TemplateEditorStatus::refresh() {
  marker_->rehighlight();
  update();
}

void TemplateEditorStatus::update() {
  const bool transliterated = translit_->isChecked();
  const LineFigures &sum = totals_->sum;
  // The lines are joined by line breaks, which count too.
  const qint64 breaks = std::max<qint64>(totals_->lines - 1, 0);
  const qint64 characters = sum.characters + breaks;
  qint64 parts = message_count::partsOf(qsizetype(characters), message_count::partSize(transliterated));
  static const std::optional<int> breakSeptets = sms_split::septetLength(u"\n");
  if (transliterated && sum.notGsm == 0 && (breaks == 0 || breakSeptets))
    parts = message_count::partsOf(qsizetype(sum.septets + breaks * breakSeptets.value_or(0)),
                                   message_count::partSize(true));
  count_->setText(QStringLiteral("%1 / %2 SMS").arg(characters).arg(parts));
  const bool marked = sum.unencodable > 0;
  count_->setStyleSheet(marked ? QStringLiteral("color: red; font-weight: bold") : QString());
  count_->setProperty("unencodable", int(sum.unencodable));
}
