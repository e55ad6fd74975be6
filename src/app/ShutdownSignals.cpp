#include "app/ShutdownSignals.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>

#include <csignal>
#include <pthread.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

sigset_t shutdownSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGHUP);
  return set;
}

} // namespace

void ShutdownSignals::block() {
  const sigset_t set = shutdownSignals();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  // Programs started from here (the spreadsheet, the help viewer) get the signals back.
  pthread_atfork(nullptr, nullptr, [] {
    const sigset_t child = shutdownSignals();
    pthread_sigmask(SIG_UNBLOCK, &child, nullptr);
  });
}

ShutdownSignals::ShutdownSignals(QObject *parent) : QObject(parent) {
  const sigset_t set = shutdownSignals();
  fd_ = signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
  if (fd_ < 0)
    return; // the signals then stay blocked and pending: the program ends only when closed
  notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &ShutdownSignals::readSignal);
}

ShutdownSignals::~ShutdownSignals() {
  if (fd_ >= 0)
    ::close(fd_);
}

void ShutdownSignals::readSignal() {
  signalfd_siginfo info;
  while (::read(fd_, &info, sizeof info) == ssize_t(sizeof info)) {
  }
  // A modal dialog runs an event loop of its own: it ends first, then the window closes.
  while (QWidget *modal = QApplication::activeModalWidget()) {
    if (!modal->close())
      break;
  }
  if (window_)
    window_->close();
}
