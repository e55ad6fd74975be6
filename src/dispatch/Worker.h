#pragma once
// A background thread that lives for the whole run and does one job per wake-up: it is
// created idle, each wake() runs run() exactly once on the thread, and then it waits for
// the next wake-up. A wake() while a job is running is ignored (a run is going).
#include <QThread>

#include <condition_variable>
#include <mutex>

class Worker : public QThread {
  Q_OBJECT
public:
  explicit Worker(QObject *parent = nullptr);
  ~Worker() override; // ends the thread after the job in progress

  // Starts one job; false when a job is already running.
  bool wake();
  bool busy() const;

signals:
  void jobFinished();
  // A job ended with an error it did not handle itself.
  void jobFailed(const QString &text);

protected:
  // One job; runs on the worker thread.
  virtual void job() = 0;

private:
  void run() override;

  mutable std::mutex mutex_;
  std::condition_variable wakeUp_;
  bool pending_ = false;
  bool busy_ = false;
  bool quitting_ = false;
};
