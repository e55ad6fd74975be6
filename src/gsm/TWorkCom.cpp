#include "gsm/TWorkCom.h"
#include "common/Cp1251.h"
#include "gsm/ModemLog.h"
#include "gsm/ModemReply.h"
#include "gsm/PortMap.h"

#include <cerrno>

namespace {
constexpr qsizetype kReadBuffer = 255;
constexpr int kReadsPerExchange = 2;
} // namespace

TWorkCom::TWorkCom(quint8 portNumber, const QString &logFileName) {
  Create(portNumber, logFileName);
}

TWorkCom::TWorkCom(const QString &logFileName) {
  CreateSearch(logFileName);
}

TWorkCom::~TWorkCom() {
  Close();
}

void TWorkCom::SetDefaults() {
  BaudRate = 57600;
  ByteSize = 8;
  Parity = 0;
  StopBits = 0;
  ReadIntervalTimeout = 1;
  ReadTotalTimeoutMultiplier = 2;
  ReadTotalTimeoutConstant = 300;
  WriteTotalTimeoutMultiplier = 2;
  WriteTotalTimeoutConstant = 300;
}

void TWorkCom::SetLogging() {
  LogEnabled = !LogFileName.isEmpty();
}

bool TWorkCom::Open(quint8 portNumber) {
  PortNumber = portNumber;
  LastError = link_error::None;
  SetDefaults();
  const QString path = port_map::devicePath(portNumber);
  try {
    if (path.isEmpty())
      throw SerialError(ENOENT);
    Handle = std::make_unique<SerialPort>(path);
  } catch (const SerialError &e) {
    RememberFailure(e);
    Handle.reset();
    LastError = link_error::OpenFailed;
    return false;
  }
  return true;
}

void TWorkCom::Close() {
  Handle.reset();
}

void TWorkCom::RememberFailure(const SerialError &error) {
  lastSystemError_ = error.code();
  lastSystemText_ = error.text();
}

void TWorkCom::LogCodeError() {
  Log(QStringLiteral("CodeError: %1(%2)").arg(lastSystemError_).arg(lastSystemText_));
}

bool TWorkCom::Configure() {
  if (!Handle)
    return true;
  LineState state;
  try {
    // The event mask and queue sizes of a Windows port have no counterpart here.
    Handle->purge();
    state = Handle->state();
  } catch (const SerialError &e) {
    RememberFailure(e);
    Close();
    LastError = link_error::PrepareFailed;
    LogCodeError();
    return false;
  }
  state.BaudRate = BaudRate;
  state.ByteSize = ByteSize;
  state.Parity = Parity;
  state.StopBits = StopBits;
  if (!ApplyState(state)) {
    LogCodeError();
    return false;
  }
  CommTimeouts timeouts = Handle->timeouts();
  timeouts.ReadIntervalTimeout = ReadIntervalTimeout;
  timeouts.ReadTotalTimeoutMultiplier = ReadTotalTimeoutMultiplier;
  timeouts.ReadTotalTimeoutConstant = ReadTotalTimeoutConstant;
  timeouts.WriteTotalTimeoutMultiplier = WriteTotalTimeoutMultiplier;
  timeouts.WriteTotalTimeoutConstant = WriteTotalTimeoutConstant;
  if (!ApplyTimeouts(timeouts)) {
    LogCodeError();
    return false;
  }
  return true;
}

LineState TWorkCom::CurrentState() const {
  if (!Handle)
    return {};
  try {
    return Handle->state();
  } catch (const SerialError &) {
    return {};
  }
}

bool TWorkCom::ApplyState(const LineState &state) {
  try {
    if (!Handle)
      throw SerialError(EBADF);
    Handle->setState(state);
    return true;
  } catch (const SerialError &e) {
    RememberFailure(e);
    Close();
    LastError = link_error::StateRefused;
    return false;
  }
}

CommTimeouts TWorkCom::CurrentTimeouts() const {
  return Handle ? Handle->timeouts() : CommTimeouts{};
}

bool TWorkCom::ApplyTimeouts(const CommTimeouts &timeouts) {
  if (!Handle) {
    RememberFailure(SerialError(EBADF));
    LastError = link_error::TimeoutsRefused;
    return false;
  }
  Handle->setTimeouts(timeouts);
  return true;
}

void TWorkCom::Purge() {
  if (!Handle)
    return;
  try {
    Handle->purge();
  } catch (const SerialError &) {
  }
}

void TWorkCom::Log(const QByteArray &text) {
  if (LogEnabled)
    modem_log::append(LogFileName, PortNumber, text);
}

void TWorkCom::Log(const QString &text) {
  Log(cp1251::encode(text));
}

QByteArray TWorkCom::Exchange(const QByteArray &command, const QByteArray &expected) {
  Log(QByteArray("WRITE\r\n") + command);
  Purge();
  try {
    if (Handle)
      Handle->write(command);
  } catch (const SerialError &) {
    // A failed write shows as a missing answer.
  }
  LastError = link_error::NoAnswer;
  ModemReply reply(expected);
  for (int i = 0; i < kReadsPerExchange; ++i) {
    QByteArray got;
    try {
      if (Handle)
        got = Handle->read(kReadBuffer);
    } catch (const SerialError &) {
    }
    if (reply.add(got)) {
      LastError = link_error::None;
      break;
    }
  }
  const QByteArray &answer = reply.text();
  Log(QByteArray("READ\r\n") + answer);
  return answer;
}

void TWorkCom::SendInitialisation() {
  // Error reports as text, result codes on and as words, no echo; the answers are not examined.
  for (const char *command : {"AT+CMEE=2\r\n", "ATQ0\r\n", "ATV1\r\n", "ATE0\r\n"})
    Exchange(command, "OK");
  LastError = link_error::None;
}

void TWorkCom::Create(quint8 portNumber, const QString &logFileName) {
  LastError = link_error::None;
  LogFileName = logFileName;
  SetLogging();
  if (!Open(portNumber) || !Configure())
    return;
  Exchange("AT\r\n", "OK");
  if (LastError != link_error::None)
    return; // the port stays open, but the modem is silent
  SendInitialisation();
}

void TWorkCom::CreateSearch(const QString &logFileName) {
  LogFileName = logFileName;
  SetLogging();
  SetDefaults();
  for (int n = port_map::kFirstPort; n <= port_map::kLastPort; ++n) {
    if (!Open(quint8(n))) {
      LastError = link_error::SearchFailed;
      continue;
    }
    if (!Configure())
      continue;
    Exchange("AT\r\n", "OK");
    if (LastError != link_error::None) {
      Close();
      continue;
    }
    SendInitialisation();
    return;
  }
}
