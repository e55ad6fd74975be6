#include "dispatch/Worker.h"

#include "common/Error.h"

Worker::Worker(QObject *parent) : QThread(parent) {
  start(QThread::LowestPriority);
}

Worker::~Worker() {
  {
    std::lock_guard lock(mutex_);
    quitting_ = true;
  }
  wakeUp_.notify_all();
  wait();
}

bool Worker::wake() {
  {
    std::lock_guard lock(mutex_);
    if (busy_ || pending_)
      return false;
    pending_ = true;
  }
  wakeUp_.notify_all();
  return true;
}

bool Worker::busy() const {
  std::lock_guard lock(mutex_);
  return busy_ || pending_;
}

void Worker::run() {
  for (;;) {
    {
      std::unique_lock lock(mutex_);
      wakeUp_.wait(lock, [this] { return pending_ || quitting_; });
      if (quitting_)
        return;
      pending_ = false;
      busy_ = true;
    }
    try {
      job();
    } catch (const AppError &e) {
      emit jobFailed(e.text());
    } catch (const std::exception &e) {
      emit jobFailed(QString::fromLocal8Bit(e.what()));
    }
    {
      std::lock_guard lock(mutex_);
      busy_ = false;
    }
    emit jobFinished();
  }
}
