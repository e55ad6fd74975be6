// The window side of a long run: a worker thread hands 100,000 result lines (every tenth a
// two-line failure line) to the dispatch page's result list and progress bar with blocking
// calls onto the window thread, as a run does. Measured: what the worker waits for one line
// over the last 1,000 lines beside the first 1,000 (the list must not slow down as it grows;
// no line is dropped), and how late a 10 ms timer on the window thread fires meanwhile (how
// soon the window answers input).
//
//   bench_dispatch_window [--lines N]
#include "gui/dispatch/DispatchPage.h"
#include "gui/dispatch/WindowThreadCall.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

QString lineOf(int i) {
  const QString text =
      QStringLiteral(u"Уважаемый Иван Петрович %1! Ваш заказ готов к выдаче. Ваш магазин").arg(i);
  const QString phone = QStringLiteral("79%1").arg(i, 9, 10, QLatin1Char('0'));
  if (i % 10 == 9)
    return QStringLiteral(u"При отправке сообщения \"") + text +
           QStringLiteral(u"\" произошла ошибка. Номер телефона: ") + phone +
           QStringLiteral(u"\r\nОтвет оператора: Server busy");
  return QStringLiteral(u"Сообщение \"") + text + QStringLiteral(u"\" доставлено успешно. Номер телефона: ") +
         phone;
}

double percentile(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, size_t(p * double(v.size())))];
}

} // namespace

int main(int argc, char **argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  int lines = 100000;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::string(argv[i]) == "--lines")
      lines = std::max(2000, std::atoi(argv[i + 1]));

  DispatchPage page;
  page.resize(900, 600);
  page.show();
  page.pbSend->setRange(0, lines);
  page.pbSend->setValue(0);

  std::vector<double> waits(size_t(lines), 0.0); // ms per line, as the worker sees it
  QThread *worker = QThread::create([&] {
    for (int i = 0; i < lines; ++i) {
      const QString line = lineOf(i);
      const auto start = Clock::now();
      onWindowThread(page, [&] {
        QString shown = line;
        shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        page.mmResult->appendPlainText(shown);
        page.pbSend->setValue(page.pbSend->value() + 1);
      });
      waits[size_t(i)] = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }
  });

  std::vector<double> lateness;
  QElapsedTimer sinceTick;
  QTimer tick;
  tick.setInterval(10);
  QObject::connect(&tick, &QTimer::timeout, [&] {
    if (sinceTick.isValid())
      lateness.push_back(std::max(0.0, double(sinceTick.nsecsElapsed()) / 1e6 - 10.0));
    sinceTick.restart();
  });
  QObject::connect(worker, &QThread::finished, &app, &QApplication::quit);
  tick.start();
  worker->start();
  QApplication::exec();
  worker->wait();
  delete worker;

  const int expectedBlocks = lines + lines / 10;
  if (page.mmResult->document()->blockCount() != expectedBlocks || page.pbSend->value() != lines) {
    std::fprintf(stderr, "expected %d blocks, the list has %d\n", expectedBlocks,
                 page.mmResult->document()->blockCount());
    return 1;
  }
  double first = 0, second = 0, last = 0;
  for (int i = 0; i < 1000; ++i) {
    first += waits[size_t(i)];
    second += waits[size_t(1000 + i)];
    last += waits[size_t(lines - 1000 + i)];
  }
  std::printf("| benchmark | baseline | measured | ratio |\n|---|---|---|---|\n");
  std::printf(
      "| dispatch window: appending the last 1,000 of %d result lines, worker's wait (baseline: the first "
      "1,000) | %.1f ms | %.1f ms | %.2f |\n",
      lines, first, last, last / first);
  std::printf(
      "| dispatch window: the same last 1,000 (baseline: lines 1,001 to 2,000, after the first paint) | "
      "%.1f ms | %.1f ms | %.2f |\n",
      second, last, last / second);
  std::printf(
      "| dispatch window: a 10 ms timer's lateness during the run, 99th percentile / longest | %.1f ms | "
      "%.1f ms | - |\n",
      percentile(lateness, 0.99), percentile(lateness, 1.0));
  return 0;
}
