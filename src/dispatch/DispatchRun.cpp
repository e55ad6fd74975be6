#include "dispatch/DispatchRun.h"

#include "compose/FieldPlaceholders.h"
#include "compose/FormText.h"
#include "compose/RecipientQuery.h"
#include "dispatch/GatewayChannel.h"
#include "dispatch/ModemChannel.h"
#include "dispatch/ResultLine.h"
#include "dispatch/SettingsRow.h"
#include "dispatch/StatusStatements.h"

#include <exception>

// The busy pointer from the start of a run until the sending begins, and back to normal on
// every way out.
class BusyPointer {
public:
  explicit BusyPointer(DispatchWindow &window) : window_(window) { window_.setBusy(true); }
  ~BusyPointer() {
    try {
      release();
    } catch (...) {
    }
  }
  void release() {
    if (!busy_)
      return;
    busy_ = false;
    window_.setBusy(false);
  }

private:
  DispatchWindow &window_;
  bool busy_ = true;
};

DispatchChannels DispatchChannels::standard() {
  return {[] { return std::make_unique<GatewayChannel>(); }, [] { return std::make_unique<ModemChannel>(); }};
}

DispatchRun::DispatchRun(Attachment &db, DispatchWindow &window, DispatchChannels channels)
    : db_(db), window_(window), channels_(std::move(channels)),
      clock_([] { return QDateTime::currentDateTime(); }),
      pause_([this](std::chrono::milliseconds duration) { stop_.pause(duration); }) {}

void DispatchRun::perform() {
  BusyPointer busy(window_);
  window_.reopenContacts();
  const RunInputs inputs = window_.runInputs();
  const QString columns = GetListFields(db_);
  const QString query = recipientQuery(columns, inputs.scope, inputs.filter);
  const TMasSMS messages = FormText(db_, inputs.templateText, query, inputs.placeholders,
                                    inputs.translit ? &*inputs.translit : nullptr);
  messageCount_ = int(messages.size());
  portError_ = 0;
  window_.RunStarted(messageCount_);

  std::exception_ptr failure;
  try {
    // No entry of the port list selected: the port cannot be read, on either channel.
    if (inputs.portNumber >= 0) {
      std::unique_ptr<DispatchChannel> channel;
      if (inputs.channel == dispatch_channel::Gateway && channels_.gateway)
        channel = channels_.gateway();
      else if (inputs.channel == dispatch_channel::Modem && channels_.modem)
        channel = channels_.modem();
      if (channel)
        sendAll(*channel, inputs, messages, query, columns, busy);
    }
  } catch (...) {
    failure = std::current_exception();
  }
  try {
    window_.reopenContacts();
  } catch (...) {
    if (!failure)
      failure = std::current_exception();
  }
  window_.RunFinished({portError_, stop_.requested()});
  stop_.clear();
  busy.release();
  if (failure)
    std::rethrow_exception(failure);
}

void DispatchRun::sendAll(DispatchChannel &channel, const RunInputs &inputs, const TMasSMS &messages,
                          const QString &query, const QString &columns, BusyPointer &busy) {
  const int portError = channel.open(inputs.portNumber, readLogFile(db_));
  if (portError != 0) {
    portError_ = portError;
    return; // no row has been touched
  }
  StatusStatements statements(db_, channel.kind());
  statements.reset(query, columns);
  busy.release();
  for (const TRecSMS &message : messages) {
    if (stop_.requested())
      break;
    const RecipientInputs recipient = window_.recipientInputs();
    const SendOutcome outcome = channel.send(message, recipient);
    resultLine_ = outcome.accepted ? result_line::accepted(message.Text, outcome.phone)
                                   : result_line::refused(message.Text, outcome.phone, outcome.answer);
    int seconds = 0;
    try {
      seconds = statements.record(message.Id, outcome, clock_());
    } catch (...) {
      // The message did go out: its line shows before the run ends on the error.
      window_.RecipientDone(resultLine_);
      throw;
    }
    window_.RecipientDone(resultLine_);
    if (seconds > 0)
      pause_(std::chrono::milliseconds(qint64(seconds) * 1000));
  }
  channel.close();
}
