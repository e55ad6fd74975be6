#pragma once
// One message typed by hand, sent to one number through the gateway or the modem to try the
// account or the modem before a mass dispatch. No template, no contact row, no result line:
// what the channel answered is not shown (the modem log keeps the modem's side).
#include "common/Error.h"
#include "gateway/Sms.h"
#include "gsm/SerialSettings.h"

#include <QString>

#include <functional>

class DataSet;

// A modem test that could not go out; the text is for the operator.
BL_ERROR_CLASS(TestMessageError, AppError)

// The language texts of the modem failures.
struct TestMessageTexts {
  QString findPort;  // the search found no modem
  QString portFalse; // the chosen port failed to open, refused its settings or stayed silent
  QString setState;  // the stored serial settings were refused
};

class TestMessage {
public:
  // One SendSMS call through a proxy of its own. A failed call throws GatewayError with its message; a result
  // of any size, accepted or not, is not reported.
  static void sendByGateway(const QString &login, const QString &password, const QString &phone,
                            const QString &text);

  struct ModemRequest {
    int portNumber = 0; // 0: search COM1..COM30
    QString logFileName;
    SerialSettings settings; // applied once the modem is initialised, before the message goes
    QString phone;
    QString text;
    bool flash = false;
  };
  struct ModemOutcome {
    int portNumber = 0; // the port the link used
    bool accepted = false;
    int partsSent = 0;
  };

  // Opens the link (searching when asked), calls portReady with its port once the modem is
  // ready, applies the stored serial settings and sends, splitting a long text. A link that
  // is not ready or refuses the settings throws TestMessageError: the text of texts.findPort
  // (search) or texts.portFalse (chosen port), or texts.setState, + CR LF + "Error code: " +
  // the link's code. The port is closed before this returns, also on failure.
  static ModemOutcome sendByModem(const ModemRequest &request, const TestMessageTexts &texts,
                                  const std::function<void(int)> &portReady = {});

  // The serial settings of the options row; a missing row or empty column gives the default
  // (57600 baud, 8 data bits, one stop bit, no parity).
  static SerialSettings storedSerialSettings(const DataSet *options);
};
