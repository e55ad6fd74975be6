#include "exchange/XlsxWorkbook.h"

#include "exchange/ExchangeError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <xlsxwriter.h>

namespace {
// Built-in number formats, shown by the spreadsheet program in the operator's own style.
constexpr int shortDateFormat = 14;
constexpr int timeFormat = 21;     // h:mm:ss
constexpr int dateTimeFormat = 22; // short date and h:mm

QDate epoch() {
  return QDate(1899, 12, 30);
}
} // namespace

XlsxWorkbook::XlsxWorkbook(const QString &path) : path_(path) {
  const QByteArray file = QFile::encodeName(path);
  // The row data waits in a temporary file beside the workbook until close().
  const QByteArray tmp = QFile::encodeName(QFileInfo(path).absolutePath());
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  options.tmpdir = const_cast<char *>(tmp.constData());
  workbook_ = workbook_new_opt(file.constData(), &options);
  if (!workbook_)
    throw XlsxError(
        QStringLiteral("%1: %2").arg(path, QString::fromUtf8(lxw_strerror(LXW_ERROR_MEMORY_MALLOC_FAILED))));
  sheet_ = workbook_add_worksheet(workbook_, nullptr);
  dateFormat_ = workbook_add_format(workbook_);
  timeFormat_ = workbook_add_format(workbook_);
  dateTimeFormat_ = workbook_add_format(workbook_);
  if (!sheet_ || !dateFormat_ || !timeFormat_ || !dateTimeFormat_) {
    lxw_workbook_free(workbook_);
    throw XlsxError(QString::fromUtf8(lxw_strerror(LXW_ERROR_MEMORY_MALLOC_FAILED)));
  }
  format_set_num_format_index(dateFormat_, shortDateFormat);
  format_set_num_format_index(timeFormat_, timeFormat);
  format_set_num_format_index(dateTimeFormat_, dateTimeFormat);
}

XlsxWorkbook::~XlsxWorkbook() {
  if (workbook_)
    lxw_workbook_free(workbook_); // frees without writing the file
}

void XlsxWorkbook::check(int error) const {
  if (error != LXW_NO_ERROR)
    throw XlsxError(QString::fromUtf8(lxw_strerror(lxw_error(error))));
}

void XlsxWorkbook::writeText(int row, int column, const QString &text) {
  if (text.isEmpty())
    return; // an empty text leaves the cell empty
  check(
      worksheet_write_string(sheet_, lxw_row_t(row), lxw_col_t(column), text.toUtf8().constData(), nullptr));
}

void XlsxWorkbook::writeNumber(int row, int column, double value) {
  check(worksheet_write_number(sheet_, lxw_row_t(row), lxw_col_t(column), value, nullptr));
}

double XlsxWorkbook::serialDate(const QDate &date) {
  const qint64 days = epoch().daysTo(date);
  return double(date < QDate(1900, 3, 1) ? days - 1 : days);
}

void XlsxWorkbook::writeDate(int row, int column, const QDate &date) {
  if (date.year() < 1900) {
    writeText(row, column, date.toString(Qt::ISODate));
    return;
  }
  check(worksheet_write_number(sheet_, lxw_row_t(row), lxw_col_t(column), serialDate(date), dateFormat_));
}

void XlsxWorkbook::writeTime(int row, int column, const QTime &time) {
  check(worksheet_write_number(sheet_, lxw_row_t(row), lxw_col_t(column),
                               time.msecsSinceStartOfDay() / 86400000.0, timeFormat_));
}

void XlsxWorkbook::writeDateTime(int row, int column, const QDate &date, const QTime &time) {
  if (date.year() < 1900) {
    writeText(row, column, QDateTime(date, time).toString(Qt::ISODate));
    return;
  }
  check(worksheet_write_number(sheet_, lxw_row_t(row), lxw_col_t(column),
                               serialDate(date) + time.msecsSinceStartOfDay() / 86400000.0, dateTimeFormat_));
}

void XlsxWorkbook::close() {
  if (!workbook_)
    return;
  lxw_workbook *workbook = workbook_;
  workbook_ = nullptr;
  const lxw_error error = workbook_close(workbook); // writes the file and frees the workbook
  if (error != LXW_NO_ERROR) {
    QFile::remove(path_);
    throw XlsxError(QStringLiteral("%1: %2").arg(path_, QString::fromUtf8(lxw_strerror(error))));
  }
}
