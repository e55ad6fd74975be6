#pragma once
// Runs a piece of window work on the thread of context and waits for it, from any thread:
// how a worker reads window state and shows its steps without touching a widget itself.
// On the window thread itself the work simply runs. An exception of the work is carried
// back to the caller.
#include "common/Error.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>

#include <exception>
#include <optional>
#include <type_traits>

template <class Work> auto onWindowThread(QObject &context, Work &&work) -> std::invoke_result_t<Work &> {
  using Result = std::invoke_result_t<Work &>;
  if (QThread::currentThread() == context.thread())
    return work();
  std::exception_ptr error;
  if constexpr (std::is_void_v<Result>) {
    bool ran = false;
    QMetaObject::invokeMethod(
        &context,
        [&] {
          ran = true;
          try {
            work();
          } catch (...) {
            error = std::current_exception();
          }
        },
        Qt::BlockingQueuedConnection);
    if (error)
      std::rethrow_exception(error);
    if (!ran)
      throw AppError(QStringLiteral("The window is gone"));
  } else {
    std::optional<Result> result;
    QMetaObject::invokeMethod(
        &context,
        [&] {
          try {
            result.emplace(work());
          } catch (...) {
            error = std::current_exception();
          }
        },
        Qt::BlockingQueuedConnection);
    if (error)
      std::rethrow_exception(error);
    if (!result)
      throw AppError(QStringLiteral("The window is gone"));
    return std::move(*result);
  }
}
