// bench_template_editor: one keystroke at the end of a 100,000-character template, in the
// message page's editor with its count and its marks of characters cp1251 lacks, against a
// bare QPlainTextEdit of the same size in the same run. Cyrillic, Latin and CJK text (every
// CJK character is marked), and Cyrillic with transliteration ticked.
//
// A keystroke is timed from the key press until the event queue is empty again, the repaint
// included. Both editors are shown; the keys alternate between them, and the median of each
// side is taken.
#include "common/AppPaths.h"
#include "compose/Translit.h"
#include "gui/message/TemplateEditorStatus.h"

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

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// One keystroke at the end of the editor, with everything it causes (layout, repaint).
double keystroke(QPlainTextEdit *editor, const QString &key) {
  editor->moveCursor(QTextCursor::End);
  QApplication::processEvents();
  QElapsedTimer t;
  t.start();
  QTest::keyClicks(editor, key);
  QApplication::processEvents();
  return double(t.nsecsElapsed()) / 1e6;
}

struct Editors {
  QWidget window;
  QPlainTextEdit *bare = new QPlainTextEdit;
  QPlainTextEdit *template_ = new QPlainTextEdit;
  QCheckBox *translit = new QCheckBox(QStringLiteral("translit"));
  QLabel *count = new QLabel;
  TemplateEditorStatus *status;

  Editors() {
    auto *layout = new QVBoxLayout(&window);
    for (QWidget *w : {static_cast<QWidget *>(bare), static_cast<QWidget *>(template_),
                       static_cast<QWidget *>(translit), static_cast<QWidget *>(count)})
      layout->addWidget(w);
    status = new TemplateEditorStatus(template_, translit, count, &window);
    window.resize(900, 700);
    window.show();
    (void)QTest::qWaitForWindowExposed(&window);
  }
};

void row(QTextStream &out, const QString &what, const QString &text, const QString &key, bool transliterate) {
  Editors e;
  e.translit->setChecked(transliterate);
  e.bare->setPlainText(text);
  e.template_->setPlainText(text);
  QApplication::processEvents();
  std::vector<double> bare, edited;
  for (int i = 0; i < keys; ++i) {
    bare.push_back(keystroke(e.bare, key));
    edited.push_back(keystroke(e.template_, key));
  }
  const double b = median(bare), m = median(edited);
  out << "| bench_template_editor: one keystroke at the end of a 100,000-character template, " << what
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
  return 0;
}
