// The Subject of a mail message on any bytes, read by the mail library: text, or a MailError.
#include "FuzzCheck.h"

#include "exchange/MailError.h"
#include "exchange/MailSubject.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  try {
    const QString subject = mail::messageSubject(fuzz::bytes(data, size));
    FUZZ_CHECK(subject.isValidUtf16(), subject);
  } catch (const MailError &e) {
    FUZZ_CHECK(!e.text().isEmpty(), QString());
  }
  return 0;
}
