#pragma once
// Fills a plain-text box with many lines a slice at a time from the event loop, so a preview
// of a hundred thousand messages shows at once and fills in without freezing the window.
#include <QObject>
#include <QPointer>
#include <QStringList>

class QPlainTextEdit;
class QTimer;

class ChunkedTextFill : public QObject {
  Q_OBJECT
public:
  explicit ChunkedTextFill(QPlainTextEdit *box, QObject *parent = nullptr);

  // Lines added per slice.
  static constexpr qsizetype SliceLines = 5000;

  // Replaces the box's text with lines: the first slice at once, the rest by later slices.
  // A new fill abandons the rest of a fill that is still going.
  void start(QStringList lines);
  bool running() const;

signals:
  void finished();

private:
  void addSlice();

  QPointer<QPlainTextEdit> box_;
  QTimer *timer_;
  QStringList lines_;
  qsizetype next_ = 0;
};
