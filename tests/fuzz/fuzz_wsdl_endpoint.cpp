// The service description (WSDL) on any bytes: it names the endpoint of port SMSSoap of
// service SMS, or it is refused with a GatewayError saying why.
#include "FuzzCheck.h"

#include "gateway/GatewayError.h"
#include "gateway/WsdlEndpoint.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  try {
    const QString endpoint = gateway::endpointFromDescription(
        fuzz::bytes(data, size), QStringLiteral("http://127.0.0.1:8080/sms.asmx?WSDL"));
    FUZZ_CHECK(!endpoint.isEmpty(), QString());
  } catch (const GatewayError &e) {
    FUZZ_CHECK(!e.text().isEmpty(), QString());
  }
  return 0;
}
