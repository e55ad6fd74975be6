#pragma once
// A GSM modem of our own on a pseudo-terminal, answering AT commands in PDU mode from a
// thread of its own. The link under test opens devicePath() like any serial device.
#include <QByteArray>
#include <QList>
#include <QMap>
#include <QMutex>
#include <QString>
#include <atomic>
#include <thread>

class ModemSimulator {
public:
  enum class Behaviour {
    Normal,    // "OK" to commands, the prompt to AT+CMGS, "+CMGS: n" to a PDU of the announced length
    Silent,    // answers nothing: a serial device without a modem
    ErrorToAll // "ERROR" to every command
  };

  // One message as the modem decoded it from a received PDU.
  struct Message {
    QByteArray pdu; // the hex text as received, without Ctrl-Z
    QString number; // destination digits
    int addressLength = 0;
    int coding = 0; // data coding scheme
    int userDataLength = 0;
    QByteArray septets; // 7-bit: the septet values
    QString text;       // 7-bit: septets read as ASCII; UCS-2: the characters
  };

  explicit ModemSimulator(Behaviour behaviour = Behaviour::Normal);
  ~ModemSimulator();
  ModemSimulator(const ModemSimulator &) = delete;
  ModemSimulator &operator=(const ModemSimulator &) = delete;

  QString devicePath() const { return path_; }

  // The answer to AT+CMGS instead of the prompt (an error report; empty: stay silent).
  void refusePrompt(const QByteArray &answer);
  // The answer to the PDU with this index (0 = first received) instead of "+CMGS: n".
  void refusePdu(int index, const QByteArray &answer);
  // The answer to one command line (without its terminator) instead of the usual one.
  void setReply(const QByteArray &command, const QByteArray &reply);
  // Every answer goes out in two pieces: its first two bytes, then the rest a little later.
  void setSplitAnswers(bool on) { split_ = on; }
  // Writes unsolicited bytes (such as RING) and returns once the link's side holds them.
  void sendUnsolicited(const QByteArray &bytes);

  QList<QByteArray> commands() const; // command lines received, without terminators
  // The line speed the link had set when each command line arrived, in the order of commands().
  QList<quint32> commandSpeeds() const;
  QList<Message> messages() const;
  QByteArray received() const; // every byte received, in order
  void clearRecord();

  static Message decode(const QByteArray &pdu);

private:
  void run();
  void handle(); // consumes complete commands and PDUs in buffer_
  void answer(const QByteArray &bytes);

  Behaviour behaviour_;
  int master_ = -1;
  int slave_ = -1; // kept open so the line stays up while no link holds it
  QString path_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> split_{false};
  std::thread thread_;

  mutable QMutex mutex_;
  QByteArray buffer_;
  bool awaitingPdu_ = false;
  int announcedLength_ = 0; // of the last AT+CMGS
  QByteArray promptRefusal_;
  bool promptRefused_ = false;
  QMap<int, QByteArray> pduRefusals_;
  QMap<QByteArray, QByteArray> replies_;
  QList<QByteArray> commands_;
  QList<quint32> commandSpeeds_;
  QList<Message> messages_;
  QByteArray received_;
};
