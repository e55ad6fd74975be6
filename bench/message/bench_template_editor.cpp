// bench_template_editor: one keystroke at the end of a 100,000-character template, in the
// message page's editor with its count and its marks of characters cp1251 lacks, against a
// bare QPlainTextEdit of the same size in the same run. Cyrillic, Latin and CJK text (every
// CJK character is marked), and Cyrillic with transliteration ticked.
//
// A keystroke is timed from the key press until the event queue is empty again, the repaint
// included. Both editors are shown; the keys alternate between them, and the median of each
// side is taken. A last row measures the former way of doing the editor's work (the whole
// text read, scanned and counted at every keystroke, one extra selection per marked
// character) for the CJK text, against the same bare editor.
#include "common/AppPaths.h"
#include "common/Cp1251.h"
#include "compose/Translit.h"
#include "gui/message/TemplateEditorStatus.h"

#include "shared/Median.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextStream>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace {

constexpr int templateLength = 100000;
constexpr int keys = 21;

// One keystroke at the end of the editor, with everything it causes (layout, repaint).
double keystroke(QPlainTextEdit *editor, const QString &key) {
  editor->moveCursor(QTextCursor::End);
  QApplication::processEvents();
  QElapsedTimer t;
  t.start();
  QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_unknown, key, Qt::NoModifier);
  QApplication::processEvents();
  return double(t.nsecsElapsed()) / 1e6;
}

// The former per-keystroke work, kept here as the measure of what the per-line figures save.
class WholeTextStatus : public QObject {
public:
  WholeTextStatus(QPlainTextEdit *editor, QLabel *count) : QObject(editor), editor_(editor), count_(count) {
    connect(editor_, &QPlainTextEdit::textChanged, this, &WholeTextStatus::update);
  }
  void update() {
    const QString text = editor_->toPlainText();
    QList<QTextEdit::ExtraSelection> marks;
    QTextCharFormat bad;
    bad.setBackground(Qt::red);
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
    count_->setText(TemplateEditorStatus::countText(text, false));
  }

private:
  QPlainTextEdit *editor_;
  QLabel *count_;
};

struct Editors {
  QWidget window;
  QPlainTextEdit *bare = new QPlainTextEdit;
  QPlainTextEdit *template_ = new QPlainTextEdit;
  QCheckBox *translit = new QCheckBox(QStringLiteral("translit"));
  QLabel *count = new QLabel;
  QObject *status;

  explicit Editors(bool former = false) {
    auto *layout = new QVBoxLayout(&window);
    for (QWidget *w : {static_cast<QWidget *>(bare), static_cast<QWidget *>(template_),
                       static_cast<QWidget *>(translit), static_cast<QWidget *>(count)})
      layout->addWidget(w);
    status = former ? static_cast<QObject *>(new WholeTextStatus(template_, count))
                    : new TemplateEditorStatus(template_, translit, count, &window);
    window.resize(900, 700);
    window.show();
    (void)QTest::qWaitForWindowExposed(&window);
  }
};

void row(QTextStream &out, const QString &what, const QString &text, const QString &key, bool transliterate,
         bool former = false, int rounds = keys) {
  Editors e(former);
  e.translit->setChecked(transliterate);
  e.bare->setPlainText(text);
  e.template_->setPlainText(text);
  QApplication::processEvents();
  std::vector<double> bare, edited;
  for (int i = 0; i < rounds; ++i) {
    bare.push_back(keystroke(e.bare, key));
    edited.push_back(keystroke(e.template_, key));
  }
  const double b = median(bare), m = median(edited);
  out << "| bench_template_editor: one keystroke at the end of a 100,000-character template, " << what
      << (former ? ", the former whole-text work at each keystroke" : "")
      << ", the count beside it reading \"" << e.count->text()
      << "\" (baseline: a bare QPlainTextEdit, same text, same run) | " << QString::number(b, 'f', 2)
      << " ms | " << QString::number(m, 'f', 2) << " ms | " << QString::number(m / b, 'f', 2) << " |\n";
  out.flush();
}

} // namespace

int main(int argc, char **argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  app_paths::overrideExecutableDir(QStringLiteral(BL_SOURCE_DIR));
  LoadTranslit(QStringLiteral("Russian"));

  auto repeated = [](const QString &words) {
    QString text;
    while (text.size() < templateLength)
      text += words;
    return text.left(templateLength);
  };
  const QString cyrillic = repeated(QStringLiteral("Здравствуйте, уважаемый клиент! Ваш заказ готов. "));
  const QString latin = repeated(QStringLiteral("Dear customer, your order is ready for collection. "));
  const QString cjk = repeated(QStringLiteral("尊敬的客户您好您的订单已经准备好了请来取货谢谢"));

  QTextStream out(stdout);
  row(out, QStringLiteral("Cyrillic"), cyrillic, QStringLiteral("ж"), false);
  row(out, QStringLiteral("Latin"), latin, QStringLiteral("a"), false);
  row(out, QStringLiteral("CJK, every character marked"), cjk, QStringLiteral("中"), false);
  row(out, QStringLiteral("Cyrillic, transliteration ticked"), cyrillic, QStringLiteral("ж"), true);
  row(out, QStringLiteral("CJK, every character marked"), cjk, QStringLiteral("中"), false, true, 5);
  return 0;
}
