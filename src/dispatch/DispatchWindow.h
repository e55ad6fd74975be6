#pragma once
// What a run needs of the main window: the state it reads and the three steps that show the
// run. The run calls these on its own thread; the window's side carries each call over to
// the window thread and waits for it, so the run never touches a widget itself.
#include "common/MasNameValue.h"
#include "compose/RecipientQuery.h"
#include "compose/Translit.h"

#include <QString>

#include <optional>

// Sub-page indexes of the sending page: the current one chooses the channel of a run.
namespace dispatch_channel {
constexpr int Gateway = 0;
constexpr int Modem = 1;
} // namespace dispatch_channel

// Read once at the start of a run.
struct RunInputs {
  QString templateText;
  TMasNameValue placeholders;
  // The transliteration table while the box asks for it: a copy, so that a language
  // change during the run cannot pull the table from under the worker.
  std::optional<TranslitTable> translit;
  RecipientScope scope;
  QString filter; // the condition in force, empty when none
  int channel = dispatch_channel::Gateway;
  int portNumber = 0; // 0: automatic search; n: COMn; -1: no entry of the port list selected
};

// Read anew before each recipient.
struct RecipientInputs {
  QString login;
  QString password;
  bool flash = false;
};

// What the end of a run shows.
struct RunEnd {
  int portError = 0; // the modem link's code when it was not ready, else 0
  bool stopRequested = false;
};

class DispatchWindow {
public:
  virtual ~DispatchWindow() = default;

  virtual void setBusy(bool on) = 0;
  // Closes and reopens the contact list, so that it shows the rows as they are now.
  virtual void reopenContacts() = 0;
  virtual RunInputs runInputs() = 0;
  virtual RecipientInputs recipientInputs() = 0;

  virtual void RunStarted(int messageCount) = 0;
  // resultLine may hold CR LF: it then shows as two lines.
  virtual void RecipientDone(const QString &resultLine) = 0;
  virtual void RunFinished(const RunEnd &end) = 0;
};
