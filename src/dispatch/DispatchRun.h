#pragma once
// One mass dispatch, from the window's state to the contact rows: the recipients' query,
// the personalised texts, the channel the sending page chose, the reset of the recipients'
// status, and for each message in order the send, its committed outcome, its result line
// and the pause. The worker thread calls perform() once per wake-up; tests call it directly.
//
// A run ends after the last message, at a stop request (read before each recipient; the
// recipient in hand is finished and recorded first), when the modem link is not ready, or
// at a database error. Every end shows the end of the run; an error is then thrown on to
// the caller, who reports it. An error while the texts are made ends the run before it is
// shown at all.
#include "dispatch/DispatchChannel.h"
#include "dispatch/DispatchWindow.h"
#include "dispatch/StopSignal.h"

#include <QDateTime>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>

class Attachment;
class BusyPointer;

// Makes the channel of each run.
struct DispatchChannels {
  std::function<std::unique_ptr<DispatchChannel>()> gateway;
  std::function<std::unique_ptr<DispatchChannel>()> modem;

  // The gateway of the settings file with the client's time limits, and the modem links.
  static DispatchChannels standard();
};

class DispatchRun {
public:
  using Clock = std::function<QDateTime()>;
  using Pause = std::function<void(std::chrono::milliseconds)>;

  DispatchRun(Attachment &db, DispatchWindow &window,
              DispatchChannels channels = DispatchChannels::standard());

  // One whole run on the calling thread.
  void perform();

  // From any thread: the run stops before its next recipient, and a pause ends at once.
  void requestStop() { stop_.request(); }
  bool stopRequested() const { return stop_.requested(); }
  // Before a new run starts: an earlier request belongs to the earlier run.
  void clearStop() { stop_.clear(); }

  // The date and time the outcomes are stamped with (default: now).
  void setClock(Clock clock) { clock_ = std::move(clock); }
  // How the pause after each message waits (default: on the stop signal).
  void setPause(Pause pause) { pause_ = std::move(pause); }

  // The state of the last run, as the end of the run leaves it.
  int MessageCount() const { return messageCount_; }
  int PortError() const { return portError_; }
  QString ResultLine() const { return resultLine_; }

private:
  void sendAll(DispatchChannel &channel, const RunInputs &inputs, const TMasSMS &messages,
               const QString &query, const QString &columns, BusyPointer &busy);

  Attachment &db_;
  DispatchWindow &window_;
  DispatchChannels channels_;
  StopSignal stop_;
  Clock clock_;
  Pause pause_;
  std::atomic<int> messageCount_{0};
  std::atomic<int> portError_{0};
  QString resultLine_; // written and read on the run's thread
};
