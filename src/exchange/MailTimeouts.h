#pragma once
#include <chrono>

namespace mail {

// Without limits a mail server that accepts the connection and never answers would freeze the
// window for ever; each limit ends the import as an ordinary failure. The same limits as the
// gateway's.
struct MailTimeouts {
  // From the start until the login is done (TCP connection, greeting, login).
  std::chrono::milliseconds connect{30000};
  // Longest wait without a byte arriving, once logged in.
  std::chrono::milliseconds idle{60000};
};

} // namespace mail
