#include "dispatch/ModemChannel.h"

#include "gsm/TSendSMS.h"

ModemChannel::ModemChannel() = default;

ModemChannel::~ModemChannel() = default;

int ModemChannel::open(int portNumber, const QString &logFile) {
  close();
  if (portNumber < 0 || portNumber > 255)
    return link_error::OpenFailed;
  auto link = std::make_unique<TSendSMS>(quint8(portNumber), logFile);
  if (link->LastError != link_error::None)
    return link->LastError; // the link closes its port as it goes
  link_ = std::move(link);
  return 0;
}

SendOutcome ModemChannel::send(const TRecSMS &message, const RecipientInputs &inputs) {
  SendOutcome outcome;
  if (!link_) {
    outcome.error = link_error::NoAnswer;
    outcome.phone = message.Phone;
    return outcome;
  }
  TSendSMS &link = *link_;
  link.MessageText = message.Text;
  link.DestNumber = message.Phone;
  link.Flash = inputs.flash;
  // A refusal without an answer of its own (a text too long) must not show the answer that
  // another recipient's refusal left behind.
  link.ErrorAnswer.clear();
  outcome.accepted = link.Send();
  outcome.parts = link.PartsSent;
  outcome.error = outcome.accepted ? 0 : link.LastError;
  outcome.phone = link.DestNumber;
  if (!outcome.accepted)
    outcome.answer = link.ErrorAnswer;
  return outcome;
}

void ModemChannel::close() {
  link_.reset();
}
