#pragma once
// A new .xlsx workbook with one worksheet, written with libxlsxwriter. Cells go in row by row
// (rows in increasing order: the writer keeps only the current row in memory); close()
// writes the file. A workbook destroyed without close() writes nothing and leaves no file.
// Failures throw XlsxError with the library's own message.
#include <QDate>
#include <QString>
#include <QTime>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

class XlsxWorkbook {
public:
  explicit XlsxWorkbook(const QString &path);
  ~XlsxWorkbook();
  XlsxWorkbook(const XlsxWorkbook &) = delete;
  XlsxWorkbook &operator=(const XlsxWorkbook &) = delete;

  const QString &path() const { return path_; }

  void writeText(int row, int column, const QString &text);
  void writeNumber(int row, int column, double value);
  // Shown in the spreadsheet's short date format; dates before 1900 (which the format
  // cannot count) are written as text in ISO form.
  void writeDate(int row, int column, const QDate &date);
  void writeTime(int row, int column, const QTime &time);
  void writeDateTime(int row, int column, const QDate &date, const QTime &time);

  void close();

  // The spreadsheet's day number of date (30 December 1899 is day 0, and the program's
  // count holds the year 1900 a leap year, so days before 1 March 1900 come one lower).
  static double serialDate(const QDate &date);

private:
  void check(int error) const;

  QString path_;
  lxw_workbook *workbook_ = nullptr;
  lxw_worksheet *sheet_ = nullptr;
  lxw_format *dateFormat_ = nullptr;
  lxw_format *timeFormat_ = nullptr;
  lxw_format *dateTimeFormat_ = nullptr;
};
