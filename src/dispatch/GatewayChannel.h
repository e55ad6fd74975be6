#pragma once
// The gateway channel: every message through a new proxy's SendSMS, at the endpoint the
// gateway settings name. Three result items mean accepted.
#include "dispatch/DispatchChannel.h"
#include "gateway/HttpExchange.h"

#include <optional>

class GatewayChannel : public DispatchChannel {
public:
  // timeouts: limits of each call instead of the client's defaults.
  explicit GatewayChannel(std::optional<gateway::HttpTimeouts> timeouts = std::nullopt);

  Kind kind() const override { return Kind::Gateway; }
  int open(int, const QString &) override { return 0; }
  SendOutcome send(const TRecSMS &message, const RecipientInputs &inputs) override;
  void close() override {}

private:
  std::optional<gateway::HttpTimeouts> timeouts_;
};
