#pragma once
// A serial device opened exclusively, with the line settings and read/write time limits a
// Windows communications handle offers. Failures throw SerialError carrying errno and the
// system's text for it.
#include "common/Error.h"

#include <QByteArray>
#include <QString>

// Thrown by the serial layer: code is the errno of the call that failed, the text is the
// system's own text for it.
class SerialError : public AppError {
public:
  explicit SerialError(int code);
  int code() const { return code_; }
  QString className() const override { return QStringLiteral("SerialError"); }

private:
  int code_;
};

// The line settings record. The four numbered fields use the codes of the link:
// parity 0 none, 1 odd, 2 even, 3 mark, 4 space; stop bits 0 one, 1 one and a half, 2 two.
// The remaining options are off when the record is default-constructed.
struct LineState {
  quint32 BaudRate = 0;
  quint8 ByteSize = 8;
  quint8 Parity = 0;
  quint8 StopBits = 0;
  bool HardwareFlow = false; // RTS/CTS
  bool SoftwareFlow = false; // XON/XOFF
};

// The five time limits, in milliseconds, with the meaning of Windows COMMTIMEOUTS.
struct CommTimeouts {
  quint32 ReadIntervalTimeout = 0;
  quint32 ReadTotalTimeoutMultiplier = 0;
  quint32 ReadTotalTimeoutConstant = 0;
  quint32 WriteTotalTimeoutMultiplier = 0;
  quint32 WriteTotalTimeoutConstant = 0;
};

class SerialPort {
public:
  // Opens an existing terminal device for reading and writing, raw, held exclusively:
  // a second open of the same device fails, in this process or another, root included.
  explicit SerialPort(const QString &devicePath);
  ~SerialPort();
  SerialPort(const SerialPort &) = delete;
  SerialPort &operator=(const SerialPort &) = delete;

  // Discards unread input and unsent output.
  void purge();
  LineState state() const;
  void setState(const LineState &state);
  CommTimeouts timeouts() const { return timeouts_; }
  void setTimeouts(const CommTimeouts &timeouts);

  // Sends the bytes, giving up when the write limit has passed; returns how many went out.
  qsizetype write(const QByteArray &bytes);
  // Returns up to maxBytes: as soon as the line has been quiet for the interval time after
  // the first byte, and at the latest after multiplier x maxBytes + constant ms.
  QByteArray read(qsizetype maxBytes);

  int fd() const { return fd_; }

private:
  int fd_ = -1;
  CommTimeouts timeouts_;
};
