// The modem channel's speed in the same run:
//  1. SMS submissions per second against the simulated modem with no delay, beside the bare
//     "AT" exchanges per second on the same link (a submission takes two exchanges);
//  2. the cost of one modem log entry with a 50 MB log beside a 1 KB log (must be flat).
#include "ModemSimulator.h"
#include "gsm/ModemLog.h"
#include "gsm/PortMap.h"
#include "gsm/TSendSMS.h"

#include <QCoreApplication>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::duration span) {
  return std::chrono::duration<double>(span).count();
}

double exchangesPerSecond(TSendSMS &link, int count) {
  const auto start = Clock::now();
  for (int i = 0; i < count; ++i) {
    link.Exchange("AT\r\n", "OK");
    if (link.LastError != 0)
      std::abort();
  }
  return count / seconds(Clock::now() - start);
}

double submissionsPerSecond(TSendSMS &link, int count) {
  link.DestNumber = QStringLiteral("71234567890");
  const auto start = Clock::now();
  for (int i = 0; i < count; ++i) {
    link.MessageText =
        QStringLiteral("Dear customer, your order %1 is ready for collection at our shop.").arg(i);
    if (!link.Send())
      std::abort();
  }
  return count / seconds(Clock::now() - start);
}

void fill(const QString &name, qint64 bytes) {
  QFile file(name);
  if (!file.open(QIODevice::WriteOnly))
    std::abort();
  const QByteArray line =
      QByteArray("Port: COM1 01.01.2024 12:00:00: READ\r\n").leftJustified(64, ' ') + "\r\n";
  QByteArray block;
  while (block.size() < 1 << 20)
    block += line;
  for (qint64 written = 0; written < bytes;) {
    const qint64 n = std::min<qint64>(block.size(), bytes - written);
    file.write(block.constData(), n);
    written += n;
  }
}

// Microseconds per entry, over `count` entries.
double entryMicros(const QString &name, int count) {
  const auto start = Clock::now();
  for (int i = 0; i < count; ++i)
    modem_log::append(name, 1, "READ\r\n\r\n+CMGS: 12\r\n\r\nOK\r\n");
  return seconds(Clock::now() - start) * 1e6 / count;
}

void row(const char *name, const char *unit, double baseline, double measured) {
  std::printf("| %s | %.1f %s | %.1f %s | %.2f |\n", name, baseline, unit, measured, unit,
              measured / baseline);
}

} // namespace

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  QTemporaryDir dir;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());

  ModemSimulator modem;
  port_map::setMapping(1, modem.devicePath());
  double exchanges = 0, submissions = 0;
  {
    TSendSMS link(1, QString());
    if (link.LastError != 0)
      return 1;
    exchanges = exchangesPerSecond(link, 500);
    submissions = submissionsPerSecond(link, 300);
  }

  const QString small = dir.filePath(QStringLiteral("small.log"));
  const QString large = dir.filePath(QStringLiteral("large.log"));
  fill(small, 1024);
  fill(large, 50LL << 20);
  const double smallCost = entryMicros(small, 2000);
  const double largeCost = entryMicros(large, 2000);

  std::printf("| benchmark | baseline | measured | ratio |\n|---|---|---|---|\n");
  row("gsm: SMS submissions/s (baseline: bare AT exchanges/s, same link)", "/s", exchanges, submissions);
  row("gsm: log entry, 50 MB log (baseline: 1 KB log)", "us", smallCost, largeCost);
  return 0;
}
