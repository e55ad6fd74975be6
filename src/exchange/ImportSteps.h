#pragma once
// What the address book and mailbox imports share: the message title and the way they end
// (contact list reopened, normal cursor back), also when they fail.
#include <QString>

#include <functional>

class Dialogs;

namespace import_steps {

inline const QString title = QStringLiteral("Brisklane");

// Shows the wait cursor from construction. done() and afterFailure() reopen the contact list
// and restore the cursor; afterFailure() swallows a failing refresh so the first error is
// the one reported. The destructor restores the cursor if neither ran.
class Finish {
public:
  Finish(Dialogs &dialogs, std::function<void()> refreshContacts);
  ~Finish();
  Finish(const Finish &) = delete;
  Finish &operator=(const Finish &) = delete;

  void done();
  void afterFailure() noexcept;

private:
  void restoreCursor() noexcept;

  Dialogs &dialogs_;
  std::function<void()> refresh_;
  bool waiting_ = true;
};

} // namespace import_steps
