#pragma once
// The serial link to a GSM modem: one object per use of a port. Construction opens and
// prepares the port and brings the modem into a known state; the caller then tests LastError.
#include "gsm/SerialPort.h"

#include <QByteArray>
#include <QString>
#include <memory>

// Codes of LastError.
namespace link_error {
constexpr quint8 None = 0;
constexpr quint8 OpenFailed = 1;
constexpr quint8 SearchFailed = 2;
constexpr quint8 StateRefused = 3;
constexpr quint8 TimeoutsRefused = 4;
constexpr quint8 PrepareFailed = 5;
constexpr quint8 MessageRefused = 22;
constexpr quint8 TextTooLong = 23;
constexpr quint8 NoAnswer = 26;
} // namespace link_error

class TWorkCom {
public:
  // Opens and prepares COM portNumber (>= 1).
  TWorkCom(quint8 portNumber, const QString &logFileName);
  // Tries COM1..COM30 and keeps the first port where a modem answers.
  explicit TWorkCom(const QString &logFileName);
  virtual ~TWorkCom();
  TWorkCom(const TWorkCom &) = delete;
  TWorkCom &operator=(const TWorkCom &) = delete;

  // One command/answer exchange; leaves LastError 0 (a final answer or the prompt came) or 26.
  QByteArray Exchange(const QByteArray &command, const QByteArray &expected);
  // The port's current line state; a closed link reports a default record.
  LineState CurrentState() const;
  // Sets the complete line state; on refusal the port is closed and LastError is 3.
  bool ApplyState(const LineState &state);
  // On refusal the port is closed and LastError is 4.
  bool ApplyTimeouts(const CommTimeouts &timeouts);
  // The port's time-outs as they are now.
  CommTimeouts CurrentTimeouts() const;
  // Appends one log entry when logging is on; text is in cp1251.
  void Log(const QByteArray &text);
  void Log(const QString &text);

  bool IsOpen() const { return Handle != nullptr; }

  quint8 PortNumber = 0;
  std::unique_ptr<SerialPort> Handle; // null when closed
  quint32 BaudRate = 0;
  quint8 ByteSize = 0;
  quint8 Parity = 0;
  quint8 StopBits = 0;
  quint32 ReadIntervalTimeout = 0;
  quint32 ReadTotalTimeoutMultiplier = 0;
  quint32 ReadTotalTimeoutConstant = 0;
  quint32 WriteTotalTimeoutMultiplier = 0;
  quint32 WriteTotalTimeoutConstant = 0;
  quint8 LastError = 0;
  QString LogFileName;
  bool LogEnabled = false;

protected:
  TWorkCom() = default; // for a derived link that decides how to construct itself
  void Create(quint8 portNumber, const QString &logFileName);
  void CreateSearch(const QString &logFileName);
  // Discards pending input; a failure here only shows later as a missing answer.
  void Purge();

private:
  void SetDefaults();
  bool Open(quint8 portNumber);
  bool Configure();
  void Close();
  void SetLogging();
  void RememberFailure(const SerialError &error);
  void LogCodeError();
  void SendInitialisation();

  int lastSystemError_ = 0;
  QString lastSystemText_;
};
