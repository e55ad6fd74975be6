#pragma once
// Which device stands behind COM1..COM30. The operator may map numbers to devices in the
// per-user settings (organisation "Kelvanor", beside "DBName"; group "SerialPorts",
// keys "COM1".."COM30" holding device paths). With no map at all, the serial devices of the
// machine are numbered in a stable order: on-board ports (/dev/ttyS*) that have a UART,
// then USB modems (/dev/ttyUSB*), then phones and ACM modems (/dev/ttyACM*), each by number.
#include <QString>
#include <QStringList>

namespace port_map {

constexpr int kFirstPort = 1;
constexpr int kLastPort = 30;

// The device path of COM n, or empty when the number has no device.
QString devicePath(int n);
// Every mapped path in COM order (index 0 is COM1); at most 30 entries.
QStringList devicePaths();

// Sets or (with an empty path) removes COM n in the per-user map.
void setMapping(int n, const QString &path);
void clearMappings();

} // namespace port_map
