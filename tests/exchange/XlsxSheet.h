#pragma once
// The first worksheet of an .xlsx file as cells, read back with unzip and the XML reader:
// each cell's type ("s" shared text, "inlineStr", "n" number, ...), its text or number and
// the number format of its style. Tests only.
#include <QHash>
#include <QProcess>
#include <QString>
#include <QXmlStreamReader>

struct XlsxCell {
  QString type;   // the cell's t attribute ("n" when absent)
  QString value;  // text of a text cell, the number as written otherwise
  int numFmt = 0; // number format id of the cell's style (0: General)
};

class XlsxSheet {
public:
  explicit XlsxSheet(const QString &path) {
    const QString sharedXml = member(path, "xl/sharedStrings.xml", false);
    QXmlStreamReader shared(sharedXml);
    QString current;
    bool inSi = false;
    while (!shared.atEnd()) {
      shared.readNext();
      if (shared.isStartElement() && shared.name() == u"si") {
        inSi = true;
        current.clear();
      } else if (inSi && shared.isStartElement() && shared.name() == u"t") {
        current += shared.readElementText();
      } else if (shared.isEndElement() && shared.name() == u"si") {
        strings_ << current;
        inSi = false;
      }
    }
    QXmlStreamReader styles(member(path, "xl/styles.xml"));
    bool inXfs = false;
    while (!styles.atEnd()) {
      styles.readNext();
      if (styles.isStartElement() && styles.name() == u"cellXfs")
        inXfs = true;
      else if (styles.isEndElement() && styles.name() == u"cellXfs")
        inXfs = false;
      else if (inXfs && styles.isStartElement() && styles.name() == u"xf")
        xfFormats_ << styles.attributes().value("numFmtId").toInt();
    }
    QXmlStreamReader sheet(member(path, "xl/worksheets/sheet1.xml"));
    QString ref;
    XlsxCell cell;
    while (!sheet.atEnd()) {
      sheet.readNext();
      if (sheet.isStartElement() && sheet.name() == u"c") {
        const auto a = sheet.attributes();
        ref = a.value("r").toString();
        cell = XlsxCell{a.hasAttribute("t") ? a.value("t").toString() : QStringLiteral("n"),
                        {},
                        xfFormats_.value(a.value("s").toInt())};
      } else if (sheet.isStartElement() && sheet.name() == u"v") {
        cell.value = sheet.readElementText();
        if (cell.type == u"s")
          cell.value = strings_.value(cell.value.toInt());
      } else if (sheet.isStartElement() && sheet.name() == u"t") {
        cell.value += sheet.readElementText();
      } else if (sheet.isEndElement() && sheet.name() == u"c") {
        cells.insert(ref, cell);
      }
    }
    if (sheet.hasError())
      qFatal("sheet XML: %s", qPrintable(sheet.errorString()));
  }

  QHash<QString, XlsxCell> cells;

  // The reference of row r, column c (both from 0): "A1", "Z1", "AA1", ...
  static QString ref(int row, int column) {
    QString letters;
    for (int c = column + 1; c > 0; c = (c - 1) / 26)
      letters.prepend(QChar(u'A' + (c - 1) % 26));
    return letters + QString::number(row + 1);
  }

private:
  static QString member(const QString &path, const char *name, bool required = true) {
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), path, QString::fromLatin1(name)});
    if (!unzip.waitForFinished(30000))
      qFatal("unzip did not finish");
    if (unzip.exitCode() != 0) {
      if (required)
        qFatal("unzip -p %s %s: exit code %d", qPrintable(path), name, unzip.exitCode());
      return {};
    }
    return QString::fromUtf8(unzip.readAllStandardOutput());
  }

  QStringList strings_;
  QList<int> xfFormats_;
};
