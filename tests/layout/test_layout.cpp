// The source tree keeps its layers: the core folders build without widgets and never reach
// up into the windows or the program; the windows never reach into the main window; and
// common, at the bottom, includes only itself.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

namespace {

const QStringList coreFolders{"common",  "data",     "compose", "gsm",
                              "gateway", "dispatch", "select",  "exchange"};

QString sourceDir() {
  return qEnvironmentVariable("BL_SOURCE_DIR") + QStringLiteral("/src");
}

struct Include {
  QString file; // relative to src/
  int line;
  QString target;
  bool angled;
};

QList<Include> includesUnder(const QString &folder) {
  QList<Include> found;
  static const QRegularExpression directive(QStringLiteral("^\\s*#\\s*include\\s*([<\"])([^>\"]+)[>\"]"));
  const QDir src(sourceDir());
  QDirIterator it(src.filePath(folder), {"*.h", "*.cpp"}, QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
      continue;
    int n = 0;
    while (!f.atEnd()) {
      ++n;
      const QRegularExpressionMatch m = directive.match(QString::fromUtf8(f.readLine()));
      if (m.hasMatch())
        found.append({src.relativeFilePath(path), n, m.captured(2), m.captured(1) == "<"});
    }
  }
  return found;
}

// The headers of the Qt Widgets module, as installed.
QSet<QString> widgetHeaders() {
  QSet<QString> names;
  for (const QString &dir : {QStringLiteral("/usr/include/x86_64-linux-gnu/qt6/QtWidgets"),
                             QStringLiteral("/usr/include/qt6/QtWidgets")})
    for (const QString &name : QDir(dir).entryList(QDir::Files))
      names << name << QStringLiteral("QtWidgets/") + name;
  names << QStringLiteral("QtWidgets");
  return names;
}

QString describe(const QList<Include> &wrong) {
  QStringList lines;
  for (const Include &i : wrong)
    lines << QStringLiteral("%1:%2 includes %3").arg(i.file).arg(i.line).arg(i.target);
  return lines.join(u'\n');
}

} // namespace

class LayoutTest : public QObject {
  Q_OBJECT
private slots:
  void coresDoNotReachUp_data() {
    QTest::addColumn<QString>("folder");
    for (const QString &f : coreFolders)
      QTest::newRow(qPrintable(f)) << f;
  }
  void coresDoNotReachUp() {
    QFETCH(QString, folder);
    QVERIFY(QDir(sourceDir()).exists(folder));
    const QSet<QString> widgets = widgetHeaders();
    QVERIFY(!widgets.isEmpty());
    QList<Include> wrong;
    for (const Include &i : includesUnder(folder)) {
      const bool upward = !i.angled && (i.target.startsWith("gui/") || i.target.startsWith("app/"));
      const bool widget = i.angled && widgets.contains(i.target);
      const bool aboveCommon =
          folder == "common" && !i.angled && i.target.contains(u'/') && !i.target.startsWith("common/");
      if (upward || widget || aboveCommon)
        wrong << i;
    }
    QVERIFY2(wrong.isEmpty(), qPrintable(describe(wrong)));
    // Windows have their own tree: no ui/ folder inside a core.
    QVERIFY(!QDir(sourceDir()).exists(folder + "/ui"));
  }

  void windowsDoNotReachIntoTheProgram() {
    QList<Include> wrong;
    for (const Include &i : includesUnder("gui"))
      if (!i.angled && (i.target.startsWith("app/") || i.target.endsWith("TFMain.h")))
        wrong << i;
    QVERIFY2(wrong.isEmpty(), qPrintable(describe(wrong)));
  }
};

QTEST_MAIN(LayoutTest)
#include "test_layout.moc"
