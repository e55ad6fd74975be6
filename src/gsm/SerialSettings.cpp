#include "gsm/SerialSettings.h"

namespace {

int position(int stored, const QStringList &items) {
  return stored >= 0 && stored < items.size() ? stored : -1;
}

std::optional<qint32> numberAt(const QStringList &items, int index) {
  if (index < 0 || index >= items.size())
    return std::nullopt;
  bool ok = false;
  const qint32 n = items.at(index).trimmed().toInt(&ok);
  return ok ? std::optional<qint32>(n) : std::nullopt;
}

} // namespace

SerialSettingsLists SerialSettingsLists::standard() {
  SerialSettingsLists lists;
  lists.rates = {"110",   "300",   "600",   "1200",  "2400",   "4800",   "9600",  "14400",
                 "19200", "38400", "56000", "57600", "115200", "128000", "256000"};
  lists.bits = {"5", "6", "7", "8"};
  lists.stopBits = {"1", "1.5", "2"};
  lists.parities = {QStringLiteral(u"Нет")};
  lists.controls = {QStringLiteral(u"Нет")};
  return lists;
}

SerialSettingsSelection selectionFor(const SerialSettings &settings, const SerialSettingsLists &lists) {
  SerialSettingsSelection s;
  s.rate = int(lists.rates.indexOf(QString::number(settings.COMRATE)));
  s.bit = int(lists.bits.indexOf(QString::number(settings.COMBIT)));
  s.stopBit = position(settings.COMSTOPBIT, lists.stopBits);
  s.parity = position(settings.COMPARITY, lists.parities);
  s.control = position(settings.COMCONTROL, lists.controls);
  return s;
}

std::optional<SerialSettings> settingsFrom(const SerialSettingsSelection &selection,
                                           const SerialSettingsLists &lists) {
  const auto rate = numberAt(lists.rates, selection.rate);
  const auto bit = numberAt(lists.bits, selection.bit);
  if (!rate || !bit)
    return std::nullopt;
  SerialSettings s;
  s.COMRATE = *rate;
  s.COMBIT = *bit;
  s.COMSTOPBIT = selection.stopBit;
  s.COMPARITY = selection.parity;
  s.COMCONTROL = selection.control;
  return s;
}

LineState lineStateFor(const SerialSettings &settings) {
  LineState state;
  state.BaudRate = settings.COMRATE > 0 ? quint32(settings.COMRATE) : 0; // 0 is refused by the port
  state.ByteSize = quint8(settings.COMBIT);
  state.StopBits = settings.COMSTOPBIT >= 0 && settings.COMSTOPBIT <= 2 ? quint8(settings.COMSTOPBIT) : 0;
  state.Parity = settings.COMPARITY >= 0 && settings.COMPARITY <= 4 ? quint8(settings.COMPARITY) : 0;
  return state;
}
