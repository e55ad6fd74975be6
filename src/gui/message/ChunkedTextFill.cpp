#include "gui/message/ChunkedTextFill.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTimer>

ChunkedTextFill::ChunkedTextFill(QPlainTextEdit *box, QObject *parent)
    : QObject(parent), box_(box), timer_(new QTimer(this)) {
  timer_->setInterval(0);
  connect(timer_, &QTimer::timeout, this, &ChunkedTextFill::addSlice);
}

bool ChunkedTextFill::running() const {
  return timer_->isActive();
}

void ChunkedTextFill::start(QStringList lines) {
  timer_->stop();
  lines_ = std::move(lines);
  next_ = 0;
  if (!box_)
    return;
  box_->clear();
  addSlice();
}

void ChunkedTextFill::addSlice() {
  if (!box_) {
    timer_->stop();
    return;
  }
  const qsizetype end = std::min(lines_.size(), next_ + SliceLines);
  if (next_ < end) {
    const QString text = QStringList(lines_.begin() + next_, lines_.begin() + end).join(u'\n');
    if (next_ == 0)
      box_->setPlainText(text);
    else
      box_->appendPlainText(text); // starts a new line after the last one
  }
  next_ = end;
  if (next_ < lines_.size()) {
    timer_->start();
    return;
  }
  timer_->stop();
  lines_.clear();
  box_->verticalScrollBar()->setValue(0);
  box_->horizontalScrollBar()->setValue(0);
  emit finished();
}
