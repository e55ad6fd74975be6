#pragma once
// A transaction on an Attachment with the system's parameters: read committed, newest record
// version, no wait (a lock conflict fails at once). It starts by itself at the first
// statement that needs it. Commit-retaining commits the work and keeps the context, so
// cursors opened in it survive; a plain commit or rollback ends them.
//
// One transaction belongs to one thread at a time; other threads use transactions of
// their own on the same attachment.
#include <QtGlobal>

#include <atomic>

namespace Firebird {
class ITransaction;
}
class Attachment;

class Transaction {
public:
  // What ending the transaction does: on destruction and when the connection closes.
  enum class Ending { Commit, CommitRetaining, Rollback };

  explicit Transaction(Attachment &attachment, Ending ending = Ending::Rollback);
  ~Transaction(); // ends what is still open with the ending action, swallowing errors
  Transaction(const Transaction &) = delete;
  Transaction &operator=(const Transaction &) = delete;

  Attachment &attachment() const { return attachment_; }
  Ending ending() const { return ending_; }
  void setEnding(Ending ending) { ending_ = ending; }

  bool isActive() const { return transaction_ != nullptr; }
  // The client's interface, starting the transaction when it is not active.
  Firebird::ITransaction *handle();

  // Each is a no-op when the transaction is not active.
  void commit();
  void commitRetaining();
  void rollback();
  // Applies the ending action.
  void end();

  // Changes whenever the transaction context ends (commit or rollback), which also ends
  // every cursor opened in it.
  quint64 generation() const { return generation_.load(); }

private:
  friend class Attachment;
  // At disconnect a commit-retaining ending commits: the work is committed either way and
  // the context cannot outlive the connection.
  void endForDisconnect() noexcept;
  void finished();

  Attachment &attachment_;
  Ending ending_;
  Firebird::ITransaction *transaction_ = nullptr;
  std::atomic<quint64> generation_{0};
};
