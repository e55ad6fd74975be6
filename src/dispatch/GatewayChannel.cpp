#include "dispatch/GatewayChannel.h"

#include "gateway/Sms.h"

#include <exception>

GatewayChannel::GatewayChannel(std::optional<gateway::HttpTimeouts> timeouts) : timeouts_(timeouts) {}

SendOutcome GatewayChannel::send(const TRecSMS &message, const RecipientInputs &inputs) {
  SendOutcome outcome;
  outcome.phone = message.Phone;
  ArrayOfInt result;
  // The answer text belongs to this call alone.
  try {
    const std::unique_ptr<GatewayProxy> proxy = CreateGatewayProxy();
    if (timeouts_)
      proxy->setTimeouts(*timeouts_);
    result = proxy->SendSMS(inputs.login, inputs.password, message.Phone, message.Text);
  } catch (const AppError &e) {
    result.clear();
    outcome.answer = e.text();
  } catch (const std::exception &e) {
    result.clear();
    outcome.answer = QString::fromLocal8Bit(e.what());
  }
  if (result.size() == 3) {
    outcome.accepted = true;
    outcome.messageId = result.at(0);
    outcome.parts = result.at(2);
  } else {
    outcome.error = 1000;
  }
  return outcome;
}
