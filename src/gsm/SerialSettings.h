#pragma once
// The stored serial settings (columns COMRATE, COMBIT, COMSTOPBIT, COMPARITY, COMCONTROL of the
// options row) and how the settings dialog shows and stores them, without the widgets.
#include "gsm/SerialPort.h"

#include <QStringList>
#include <optional>

struct SerialSettings {
  qint32 COMRATE = 57600;
  qint32 COMBIT = 8;
  qint32 COMSTOPBIT = 0;
  qint32 COMPARITY = 0;
  qint32 COMCONTROL = 0; // index of the flow-control choice; shown and stored only
};

// The positions selected in the dialog's five lists; -1 means no selection.
struct SerialSettingsSelection {
  int rate = -1;
  int bit = -1;
  int stopBit = -1;
  int parity = -1;
  int control = -1;
};

// The item texts of the dialog's lists as the dialog keeps them (a language file may replace
// the parity and flow-control items).
struct SerialSettingsLists {
  QStringList rates;
  QStringList bits;
  QStringList stopBits;
  QStringList parities;
  QStringList controls;

  static SerialSettingsLists standard();
};

// Rate and data bits are found by their text, the other three by position; what a list does
// not have leaves it without a selection.
SerialSettingsSelection selectionFor(const SerialSettings &settings, const SerialSettingsLists &lists);
// What OK stores; none when the rate or data-bit list has no number to give (then nothing is
// stored). Lists without a selection store -1.
std::optional<SerialSettings> settingsFrom(const SerialSettingsSelection &selection,
                                           const SerialSettingsLists &lists);
// The complete line state the test message applies: stop-bit and parity codes outside their
// ranges become 0, every other option is off.
LineState lineStateFor(const SerialSettings &settings);
